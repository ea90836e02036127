#include "player/presentation_form.h"

#include "drawing/fill.h"
#include "drawing/gradient_label.h"
#include "platform/error_display.h"
#include "platform/fonts.h"
#include "player/design/presentation_design.h"
#include "slideshow/slide_show.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace player {

using namespace lanterna;

TForm2::TForm2() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Slide Show Prezentace"));
    resize(kDesignSize);
    setFont(MakeQFont(QStringLiteral("Tahoma"), 11));

    SlideShow = new TSlideShow(this);
    SlideShow->setGeometry(rect());
    DesignSlideShow(*SlideShow);

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

    Hodiny = new TGradientLabel(SlideShow);
    Hodiny->setGeometry(566, 64, 153, 50);
    Hodiny->Caption().SetText(QStringLiteral("--:--:--"));
    Hodiny->Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 32));
    Hodiny->hide();

    FFolderWatch.OnChange = [this](const TFolderListing& listing, const QStringList& changed) {
        QStringList files;
        for (const TFolderEntry& entry : listing.Files)
            files << entry.Path;
        try {
            SlideShow->SyncItemsWithFiles(files, changed, ikImage, true, true, true);
        } catch (const std::exception&) {
            // The show goes on as it was; the folder's next change tries again. A box here would
            // come back with every change of an unattended sign's folder.
        }
    };
    FStayedOpenTimer.OnTimer = [this](TTimer*) { StayedOpen(); };
}

void TForm2::NactiSlideButClick() {
    const TPresentationSettings settings = Settings();
    const QString folder = settings.SlideDirectory;
    const QString mask = folder + QStringLiteral("/*.*");
    FFolderWatch.Watch(mask);
    if (!QFileInfo(folder).isDir())
        return;
    TSlideShow& show = *SlideShow;
    show.SetRotation(false);
    show.BeginUpdate();
    show.Items()->Clear();
    show.AddItemsFromFolder(mask, ikImage, true, true, true);
    show.SetTransitions({stFade, stPlaceHolder});
    show.SetAspectRatio(true);
    show.SetItemMode(imNormal);
    show.SetRotationInterval(settings.RotateInterval * 1000);
    show.SetFadeAnimationFactor(10);
    show.SetAnimations({saBottomToTop});
    show.SetThumbNails(false);
    show.SetLoadEffect(true);
    show.DescriptionFill()->SetOpacity(50);
    show.EndUpdate();
    show.SetRotation(true);
}

void TForm2::ZavritButClick() {
    hide();
}

void TForm2::resizeEvent(QResizeEvent*) {
    SlideShow->setGeometry(rect());
}

void TForm2::showEvent(QShowEvent*) {
    FScreenSaver.Hold();
    FStayedOpenTimer.SetInterval(StayedOpenDelay);
    FStayedOpenTimer.SetEnabled(!FStayedOpen);
}

void TForm2::hideEvent(QHideEvent*) {
    FScreenSaver.Release();
    FStayedOpenTimer.SetEnabled(false);
}

void TForm2::StayedOpen() {
    FStayedOpenTimer.SetEnabled(false);
    FStayedOpen = true;
    if (OnStayedOpen)
        OnStayedOpen();
}

} // namespace player
