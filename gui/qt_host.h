#pragma once
#include <QObject>
#include <functional>
#include <map>

#include "platform/host.h"

class QMdiArea;
class QWidget;

namespace gui {

class FormView;

// The interactive host: message boxes in the system's texts, pick lists with a
// filter box, the date-time picker, the wait cursor, and the screens as MDI windows.
class QtHost : public QObject, public platform::Host {
    Q_OBJECT
public:
    explicit QtHost(QMdiArea* mdi);
    void showMessage(const std::string& text, platform::MsgType type) override;
    platform::MsgResult ask(const std::string& text, platform::MsgType type, platform::MsgButtons buttons) override;
    std::vector<int> pickRows(const platform::LookupRequest& request) override;
    std::optional<core::DateTime> pickDateTime(core::DateTime initial) override;
    void runModule(const std::string& code, const std::vector<std::string>& args) override;
    void waitOn(int kind) override;
    void waitOff() override;
    void showScreen(platform::Form& screen) override;
    void closeScreen(platform::Form& screen) override;
    int runModal(platform::Form& dialog) override;
    // The login dialog in its re-login mode; unattended, nobody types: nullopt.
    std::optional<std::string> askPassword(const std::string& operador, const std::string& prompt) override;

    FormView* viewOf(platform::Form& screen) const;
    // Repaints every open screen from its model (after a dialog or an entry call).
    void syncScreens();
    // Nobody at the screen (--screenshot, tests): messages go to the error output,
    // questions take their safe answer (No, Cancel), pick lists choose nothing, and
    // a modal dialog is confirmed as it opened, a password prompt is given up.
    void setUnattended(bool on) { unattended_ = on; }
    // Called when the user closes a screen's window; the screen's own close runs.
    std::function<void(platform::Form&)> onScreenWindowClosed;

private:
    QWidget* dialogParent() const;
    QMdiArea* mdi_;
    std::map<platform::Form*, FormView*> views_;
    int waiting_ = 0;
    bool unattended_ = false;
};

}  // namespace gui
