#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

namespace platform {

// The host of the tests (and the default before a GUI installs its own): answers
// from a script and records everything it was shown. An unscripted question
// answers Yes / Ok, an unscripted pick list chooses nothing, an unscripted
// date-time picker picks nothing, an unscripted modal dialog is cancelled, an
// unscripted password prompt is given up.
class ScriptedHost : public Host {
public:
    struct Shown {
        MsgType type;
        std::string text;
    };
    std::vector<Shown> messages;        // every message and question, in order
    std::deque<MsgResult> answers;      // answers to ask(), in order
    std::deque<std::vector<int>> picks; // rows chosen in pick lists, in order
    std::vector<LookupRequest> lookups; // pick lists shown
    std::deque<std::optional<core::DateTime>> dateTimes;
    std::vector<core::DateTime> pickerStarts;  // the value each date-time picker opened on
    // Plays a modal dialog: fills its controls, runs its handlers, sets ModalResult.
    std::deque<std::function<void(Form&)>> dialogs;
    // Passwords typed at the session's password prompts, in order; nullopt gives up.
    // Each prompt is recorded in `messages` as a Warning.
    std::deque<std::optional<std::string>> passwords;
    std::vector<std::string> modulesRun;  // "LKS52738 ANA"
    std::vector<Form*> screensShown;
    int waitDepth = 0;  // wait animation on when > 0
    int waitCount = 0;  // times it was switched on

    void showMessage(const std::string& text, MsgType type) override;
    MsgResult ask(const std::string& text, MsgType type, MsgButtons buttons) override;
    std::vector<int> pickRows(const LookupRequest& request) override;
    std::optional<core::DateTime> pickDateTime(core::DateTime initial) override;
    void runModule(const std::string& code, const std::vector<std::string>& args) override;
    void waitOn(int kind) override;
    void waitOff() override;
    void showScreen(Form& screen) override;
    void closeScreen(Form& screen) override;
    int runModal(Form& dialog) override;
    std::optional<std::string> askPassword(const std::string& operador, const std::string& prompt) override;

    // Texts of the messages shown, for assertions.
    std::vector<std::string> texts() const;
    std::string lastText() const;
    void clear();
};

}  // namespace platform
