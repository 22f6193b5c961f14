#pragma once
#include <QDialog>

class QLineEdit;
class QLabel;

namespace gui {

// Operator and password, checked by the server before the dialog closes; a
// refusal is shown in the dialog and the operator may try again.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(const QString& operador = {}, QWidget* parent = nullptr);
    QString operador() const;

private:
    void tryLogin();
    QLineEdit* operador_;
    QLineEdit* senha_;
    QLabel* error_;
};

}  // namespace gui
