#include "gui/login_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/session_login.h"

namespace gui {

LoginDialog::LoginDialog(const QString& operador, QWidget* parent) : QDialog(parent) {
    build(operador);
    auto* buttons = findChild<QDialogButtonBox*>();
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::tryLogin);
    (operador.isEmpty() ? operador_ : senha_)->setFocus();
}

LoginDialog::LoginDialog(const QString& operador, const QString& prompt, QWidget* parent) : QDialog(parent) {
    build(operador);
    prompt_->setText(prompt);
    prompt_->show();
    operador_->setReadOnly(true);
    // A read-only box looks like any other unless its face says it cannot be typed in.
    operador_->setStyleSheet("QLineEdit { background: palette(window); }");
    // Not a stop on the way to the password box.
    operador_->setFocusPolicy(Qt::NoFocus);
    connect(findChild<QDialogButtonBox*>(), &QDialogButtonBox::accepted, this, &QDialog::accept);
    senha_->setFocus();
}

void LoginDialog::build(const QString& operador) {
    setWindowTitle("Acesso ao Sistema");
    setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    prompt_ = new QLabel(this);
    prompt_->setObjectName("prompt");
    prompt_->setWordWrap(true);
    prompt_->setStyleSheet("font-weight: bold;");
    prompt_->hide();
    layout->addWidget(prompt_);
    auto* form = new QFormLayout;
    operador_ = new QLineEdit(operador, this);
    operador_->setObjectName("operador");
    operador_->setMaxLength(12);
    senha_ = new QLineEdit(this);
    senha_->setObjectName("senha");
    senha_->setEchoMode(QLineEdit::Password);
    form->addRow("Operador:", operador_);
    form->addRow("Senha:", senha_);
    layout->addLayout(form);
    error_ = new QLabel(this);
    error_->setStyleSheet("color: #B00000;");
    error_->setWordWrap(true);
    error_->hide();
    layout->addWidget(error_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("Entrar");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancelar");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString LoginDialog::operador() const { return operador_->text().trimmed(); }

QString LoginDialog::senha() const { return senha_->text(); }

void LoginDialog::tryLogin() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto refused = platform::login(operador().toStdString(), senha_->text().toStdString());
    QApplication::restoreOverrideCursor();
    if (!refused) {
        accept();
        return;
    }
    error_->setText(QString::fromStdString(*refused));
    error_->show();
    senha_->clear();
    senha_->setFocus();
}

}  // namespace gui
