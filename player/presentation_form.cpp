#include "player/presentation_form.h"

#include "platform/error_display.h"
#include "platform/fonts.h"
#include "player/settings_form.h"
#include "widgets/directory_edit.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace player {

using namespace lanterna;

TForm2::TForm2(Windows& windows) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), FWindows(windows) {
    setWindowTitle(QStringLiteral("Slide Show Prezentace"));
    resize(771, 450);
    setFont(MakeQFont(QStringLiteral("Tahoma"), 11));

    SlideShow = new QWidget(this);
    SlideShow->setAutoFillBackground(true);
    SlideShow->setPalette(QPalette(Qt::black));
    SlideShow->setGeometry(rect());

    ZavritBut = new QPushButton(QStringLiteral("X"), SlideShow);
    ZavritBut->setGeometry(696, 16, 23, 22);
    ZavritBut->setFlat(true);
    ZavritBut->setFont(MakeQFont(QStringLiteral("Tahoma"), 19, true));
    ZavritBut->setStyleSheet(
        QStringLiteral("QPushButton { color: white; border: none; background: transparent; }"));
    ZavritBut->setCursor(Qt::PointingHandCursor);
    connect(ZavritBut, &QPushButton::clicked, this, Guarded([this] { ZavritButClick(); }));

    Logo = new QLabel(SlideShow);
    Logo->setGeometry(24, 16, 193, 121);
    Logo->setAlignment(Qt::AlignCenter);

    Hodiny = new QLabel(QStringLiteral("--:--:--"), SlideShow);
    Hodiny->setGeometry(566, 64, 153, 50);
    Hodiny->setFont(MakeQFont(QStringLiteral("Tahoma"), 32));
    Hodiny->setStyleSheet(QStringLiteral("color: #9FE0FF; background: transparent;"));
    Hodiny->hide();
}

void TForm2::NactiSlideButClick() {
    const QString folder = FWindows.Form3->SlideDirectory->Text();
    if (!QFileInfo(folder).isDir())
        return;
}

void TForm2::ZavritButClick() {
    hide();
}

void TForm2::resizeEvent(QResizeEvent*) {
    SlideShow->setGeometry(rect());
}

} // namespace player
