#pragma once
// The window in which an HTTP download asks for a user name and a password.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lanterna {

class TLoginForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TLoginForm)

public:
    explicit TLoginForm(QWidget* parent = nullptr);

    // Shows the window modally with both fields empty; on OK returns true with what was typed.
    static bool Execute(const QString& caption, QString& user, QString& password);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;
};

} // namespace lanterna
