#include "transfer/internal/login_form.h"

#include "platform/fonts.h"
#include "platform/windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace lanterna {

namespace {

// The banner across the top: a key on a blue band.
QPixmap Banner() {
    QPixmap banner(320, 60);
    QPainter p(&banner);
    QLinearGradient band(0, 0, 320, 0);
    band.setColorAt(0, QColor(20, 60, 140));
    band.setColorAt(1, QColor(110, 160, 230));
    p.fillRect(banner.rect(), band);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(250, 210, 60), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(34, 30), 10, 10);
    p.drawLine(44, 30, 76, 30);
    p.drawLine(68, 30, 68, 40);
    p.drawLine(76, 30, 76, 38);
    return banner;
}

} // namespace

TLoginForm::TLoginForm(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 11));
    setFixedSize(320, 196);

    Image1 = new QLabel(this);
    Image1->setPixmap(Banner());
    Image1->setGeometry(0, 0, 320, 60);

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(104, 80, 193, 21);
    Edit2 = new QLineEdit(this);
    Edit2->setGeometry(104, 112, 193, 21);
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    Label1 = new QLabel(QStringLiteral("&User name: "), this);
    Label1->move(16, 80);
    Label1->setBuddy(Edit1);
    Label2 = new QLabel(QStringLiteral("&Password:"), this);
    Label2->move(16, 112);
    Label2->setBuddy(Edit2);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(144, 152, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setGeometry(224, 152, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();
}

bool TLoginForm::Execute(const QString& caption, QString& user, QString& password) {
    TLoginForm form;
    form.setWindowTitle(caption);
    CenterOnScreen(&form);
    if (form.exec() != QDialog::Accepted)
        return false;
    user = form.Edit1->text();
    password = form.Edit2->text();
    return true;
}

} // namespace lanterna
