#include "gui/login_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/session_setup.h"

namespace gui {

LoginDialog::LoginDialog(const QString& operador, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Acesso ao Sistema");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    operador_ = new QLineEdit(operador, this);
    operador_->setMaxLength(12);
    senha_ = new QLineEdit(this);
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
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::tryLogin);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    (operador.isEmpty() ? operador_ : senha_)->setFocus();
}

QString LoginDialog::operador() const { return operador_->text().trimmed(); }

void LoginDialog::tryLogin() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto refused = login(operador().toStdString(), senha_->text().toStdString());
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
