#include "gui/qt_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>

#include "gui/form_view.h"
#include "gui/login_dialog.h"
#include "gui/lookup_dialog.h"
#include "platform/handler.h"

namespace gui {

using platform::MsgButtons;
using platform::MsgResult;
using platform::MsgType;

namespace {

QString titleOf(MsgType t) {
    switch (t) {
        case MsgType::Information: return "Informação";
        case MsgType::Warning: return "Atenção";
        case MsgType::Error: return "Erro";
        case MsgType::Confirmation: return "Confirmação";
    }
    return "Mensagem";
}

QMessageBox::Icon iconOf(MsgType t) {
    switch (t) {
        case MsgType::Information: return QMessageBox::Information;
        case MsgType::Warning: return QMessageBox::Warning;
        case MsgType::Error: return QMessageBox::Critical;
        case MsgType::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QDateTime toQt(core::DateTime d) {
    const auto c = d.civil();
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
}

// A screen's MDI window: closing it runs the screen's own close.
class ScreenWindow : public QMdiSubWindow {
public:
    std::function<void()> onClose;
protected:
    void closeEvent(QCloseEvent* e) override {
        if (onClose) onClose();
        QMdiSubWindow::closeEvent(e);
    }
};

// A modal dialog's window; its form decides when it closes.
class ModalWindow : public QDialog {
public:
    ModalWindow(platform::Form& f, QWidget* parent) : QDialog(parent), form_(f) {}
protected:
    void reject() override {
        form_.requestClose();
        if (form_.ModalResult != platform::mrNone) QDialog::reject();
    }
private:
    platform::Form& form_;
};

}  // namespace

QtHost::QtHost(QMdiArea* mdi) : mdi_(mdi) {}

QWidget* QtHost::dialogParent() const {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w ? w : (mdi_ ? mdi_->window() : nullptr);
}

void QtHost::showMessage(const std::string& text, MsgType type) {
    if (unattended_) {
        std::cerr << titleOf(type).toStdString() << ": " << text << "\n";
        return;
    }
    QMessageBox box(iconOf(type), titleOf(type), QString::fromStdString(text), QMessageBox::Ok, dialogParent());
    box.button(QMessageBox::Ok)->setText("OK");
    const bool wasWaiting = waiting_ > 0;
    if (wasWaiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (wasWaiting) QApplication::restoreOverrideCursor();
}

MsgResult QtHost::ask(const std::string& text, MsgType type, MsgButtons buttons) {
    if (unattended_) {
        std::cerr << titleOf(type).toStdString() << ": " << text << "\n";
        return buttons == MsgButtons::YesNo ? MsgResult::No : buttons == MsgButtons::OkCancel ? MsgResult::Cancel : MsgResult::Ok;
    }
    QMessageBox box(iconOf(type), titleOf(type), QString::fromStdString(text), QMessageBox::NoButton, dialogParent());
    if (buttons == MsgButtons::YesNo) {
        box.addButton("Sim", QMessageBox::YesRole);
        auto* no = box.addButton("Não", QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.exec();
        return box.clickedButton() == no || !box.clickedButton() ? MsgResult::No : MsgResult::Yes;
    }
    if (buttons == MsgButtons::OkCancel) {
        auto* ok = box.addButton("OK", QMessageBox::AcceptRole);
        box.addButton("Cancelar", QMessageBox::RejectRole);
        box.exec();
        return box.clickedButton() == ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
    return MsgResult::Ok;
}

std::vector<int> QtHost::pickRows(const platform::LookupRequest& request) {
    if (unattended_) return {};
    LookupDialog dlg(request, dialogParent());
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.chosenRows();
}

std::optional<core::DateTime> QtHost::pickDateTime(core::DateTime initial) {
    if (unattended_) return std::nullopt;
    QDialog dlg(dialogParent());
    dlg.setWindowTitle("Data e Hora");
    auto* layout = new QVBoxLayout(&dlg);
    auto* edit = new QDateTimeEdit(&dlg);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat("dd/MM/yyyy HH:mm");
    edit->setDateTime(initial.isZero() ? QDateTime::currentDateTime() : toQt(initial));
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancelar");
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const QDateTime q = edit->dateTime();
    return core::DateTime::fromCivil(q.date().year(), q.date().month(), q.date().day(), q.time().hour(),
                                     q.time().minute());
}

std::optional<std::string> QtHost::askPassword(const std::string& operador, const std::string& prompt) {
    if (unattended_) {
        std::cerr << titleOf(MsgType::Warning).toStdString() << ": " << prompt << "\n";
        return std::nullopt;
    }
    LoginDialog dlg(QString::fromStdString(operador), QString::fromStdString(prompt), dialogParent());
    // The call that ran out is usually under the wait cursor, which would hide that
    // the dialog wants typing.
    const bool covered = QApplication::overrideCursor() != nullptr;
    if (covered) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool accepted = dlg.exec() == QDialog::Accepted;
    if (covered) QApplication::restoreOverrideCursor();
    if (!accepted) return std::nullopt;
    return dlg.senha().toStdString();
}

void QtHost::runModule(const std::string& code, const std::vector<std::string>& args) {
    showMessage("O módulo " + code + " não está instalado nesta estação.", MsgType::Information);
}

void QtHost::waitOn(int) {
    if (waiting_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtHost::waitOff() {
    if (waiting_ == 0) return;
    waiting_ = 0;
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void QtHost::showScreen(platform::Form& screen) {
    if (auto* v = viewOf(screen)) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(v->parentWidget())) {
            mdi_->setActiveSubWindow(sub);
            sub->showNormal();
            sub->raise();
        }
        v->sync();
        return;
    }
    auto* view = new FormView(screen);
    auto* sub = new ScreenWindow;
    sub->setWidget(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(QString::fromStdString(screen.caption));
    platform::Form* f = &screen;
    sub->onClose = [this, f] {
        views_.erase(f);
        if (onScreenWindowClosed) onScreenWindowClosed(*f);
    };
    mdi_->addSubWindow(sub);
    views_[&screen] = view;
    sub->resize(1000, 640);
    sub->show();
}

void QtHost::closeScreen(platform::Form& screen) {
    auto it = views_.find(&screen);
    if (it == views_.end()) return;
    FormView* v = it->second;
    views_.erase(it);
    if (auto* sub = dynamic_cast<ScreenWindow*>(v->parentWidget())) {
        sub->onClose = nullptr;
        sub->close();
    }
}

void QtHost::syncScreens() {
    for (auto& [form, view] : views_) view->sync();
}

FormView* QtHost::viewOf(platform::Form& screen) const {
    auto it = views_.find(&screen);
    return it == views_.end() ? nullptr : it->second;
}

int QtHost::runModal(platform::Form& dialog) {
    if (unattended_) {
        // Nobody to answer: the dialog is confirmed as it opened (the request filter
        // then loads the list), or cancelled when it has no confirm button.
        dialog.ModalResult = platform::mrNone;
        if (auto* ok = dialog.comps.find("btnOK"); ok && ok->onClick) platform::runHandler(ok->onClick);
        if (dialog.ModalResult == platform::mrNone) dialog.ModalResult = platform::mrCancel;
        syncScreens();
        return dialog.ModalResult;
    }
    ModalWindow win(dialog, dialogParent());
    win.setWindowTitle(QString::fromStdString(dialog.caption));
    auto* layout = new QVBoxLayout(&win);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new FormView(dialog, &win);
    layout->addWidget(view);
    // A grid asks for little room of its own: a dialog with one opens wide enough to
    // read its columns.
    for (const auto& name : dialog.comps.names())
        if (dialog.comps[name].kind == platform::ControlKind::Grid) {
            const QSize hint = win.sizeHint();
            win.resize(std::max(hint.width(), 900), std::max(hint.height(), 560));
            break;
        }
    dialog.ModalResult = platform::mrNone;
    dialog.visible = true;
    QObject::connect(view, &FormView::handled, &win, [&] {
        if (dialog.ModalResult != platform::mrNone) win.done(dialog.ModalResult);
    });
    const bool wasWaiting = waiting_ > 0;
    if (wasWaiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    win.exec();
    if (wasWaiting) QApplication::restoreOverrideCursor();
    dialog.visible = false;
    if (dialog.ModalResult == platform::mrNone) dialog.ModalResult = platform::mrCancel;
    syncScreens();  // what the dialog changed shows on the screens under it
    return dialog.ModalResult;
}

}  // namespace gui
