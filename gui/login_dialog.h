#pragma once
#include <QDialog>

class QLineEdit;
class QLabel;

namespace gui {

// Operator and password, checked by the server before the dialog closes; a
// refusal is shown in the dialog and the operator may try again.
//
// In the re-login mode (the session ran out) the operator is shown read-only under
// the prompt, and the dialog only collects the password: the caller logs in with it
// and asks again with the refusal when it is refused.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(const QString& operador = {}, QWidget* parent = nullptr);
    LoginDialog(const QString& operador, const QString& prompt, QWidget* parent);
    QString operador() const;
    QString senha() const;

private:
    void build(const QString& operador);
    void tryLogin();
    QLineEdit* operador_ = nullptr;
    QLineEdit* senha_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLabel* error_ = nullptr;
};

}  // namespace gui
