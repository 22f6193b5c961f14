#pragma once
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "gui/form_view.h"

namespace guitest {

// The one QApplication of the GUI tests, made by the tests' main() on its stack so
// that it is torn down before the process exits (Qt's input devices crash when the
// application outlives main).
QApplication& app();

// Plays the user at the modal dialogs a blocking call opens: message boxes are noted
// and closed, the first form dialog gets `act`, and after about ten seconds whatever is
// still open is closed, so a dialog that does not end fails the test instead of hanging it.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(gui::FormView&)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(50);
    }
    void stop() { timer_.stop(); }
    std::vector<std::string> messages;
    bool acted = false;
    bool timedOut = false;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (++ticks_ > 200) {
            timedOut = true;
            if (modal) modal->close();
            return;
        }
        if (!modal) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.push_back(box->text().toStdString());
            box->done(QMessageBox::Ok);
            return;
        }
        auto* view = modal->findChild<gui::FormView*>();
        if (view && !acted) {
            acted = true;
            // Run from the loop, not from this tick: what it opens in turn (a message)
            // must find the driver's timer free to answer it.
            QTimer::singleShot(0, view, [this, view] { act_(*view); });
        }
    }
    std::function<void(gui::FormView&)> act_;
    QTimer timer_;
    int ticks_ = 0;
};

}  // namespace guitest
