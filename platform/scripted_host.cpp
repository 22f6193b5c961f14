#include "platform/scripted_host.h"

#include "platform/form.h"

namespace platform {

void ScriptedHost::showMessage(const std::string& text, MsgType type) {
    messages.push_back({type, text});
}

MsgResult ScriptedHost::ask(const std::string& text, MsgType type, MsgButtons buttons) {
    messages.push_back({type, text});
    if (!answers.empty()) {
        const MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

std::vector<int> ScriptedHost::pickRows(const LookupRequest& request) {
    lookups.push_back(request);
    if (picks.empty()) return {};
    auto rows = picks.front();
    picks.pop_front();
    return rows;
}

std::optional<core::DateTime> ScriptedHost::pickDateTime(core::DateTime initial) {
    pickerStarts.push_back(initial);
    if (dateTimes.empty()) return std::nullopt;
    auto d = dateTimes.front();
    dateTimes.pop_front();
    return d;
}

void ScriptedHost::runModule(const std::string& code, const std::vector<std::string>& args) {
    std::string line = code;
    for (const auto& a : args) line += " " + a;
    modulesRun.push_back(line);
}

void ScriptedHost::waitOn(int) {
    ++waitDepth;
    ++waitCount;
}

void ScriptedHost::waitOff() {
    if (waitDepth > 0) --waitDepth;
}

void ScriptedHost::showScreen(Form& screen) {
    screen.visible = true;
    screensShown.push_back(&screen);
}

void ScriptedHost::closeScreen(Form& screen) {
    screen.visible = false;
}

int ScriptedHost::runModal(Form& dialog) {
    dialog.visible = true;
    dialog.ModalResult = mrNone;
    if (!dialogs.empty()) {
        auto play = std::move(dialogs.front());
        dialogs.pop_front();
        play(dialog);
    }
    // A script that leaves the dialog open is a cancelled dialog, as closing the window is.
    if (dialog.ModalResult == mrNone) dialog.ModalResult = mrCancel;
    dialog.visible = false;
    return dialog.ModalResult;
}

std::optional<std::string> ScriptedHost::askPassword(const std::string&, const std::string& prompt) {
    messages.push_back({MsgType::Warning, prompt});
    if (passwords.empty()) return std::nullopt;
    auto p = std::move(passwords.front());
    passwords.pop_front();
    return p;
}

std::vector<std::string> ScriptedHost::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

std::string ScriptedHost::lastText() const {
    return messages.empty() ? std::string() : messages.back().text;
}

void ScriptedHost::clear() {
    messages.clear();
    answers.clear();
    picks.clear();
    lookups.clear();
    dateTimes.clear();
    pickerStarts.clear();
    dialogs.clear();
    passwords.clear();
    modulesRun.clear();
    screensShown.clear();
    waitDepth = 0;
    waitCount = 0;
}

}  // namespace platform
