#include "player/start_form.h"

#include "drawing/gradient_label.h"
#include "drawing/reflection_image.h"
#include "platform/error_display.h"
#include "platform/fonts.h"
#include "platform/shell.h"
#include "platform/time_format.h"
#include "platform/windows.h"
#include "player/presentation_form.h"
#include "player/window_style.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace player {

using namespace lanterna;

namespace {

TGradientLabel* MakeCaption(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new TGradientLabel(parent);
    label->setGeometry(geometry);
    label->Caption().SetText(text);
    label->Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 48, true));
    return label;
}

// An image whose mirror image below it fades from 150 to 0.
TReflectionImage* MakeReflectionImage(QWidget* parent, const QRect& geometry, int reflectionSize) {
    auto* image = new TReflectionImage(parent);
    image->setGeometry(geometry);
    image->SetReflectionOpacityStart(150);
    image->SetReflectionOpacityEnd(0);
    image->SetReflectionSize(reflectionSize);
    return image;
}

// The contact line: the maker's web and mail addresses as links, and three telephone numbers.
const char* const kContactLine =
    "<p align=\"center\" style=\"color: white;\">Web: <b><a style=\"color: white;\" "
    "href=\"https://www.example.com/\">www.example.com</a></b> e-mail: <b><a style=\"color: white;\" "
    "href=\"mailto:info@example.com\">info@example.com</a></b><br>telefon: <b>+420 555 000 101, "
    "+420 555 000 102, +420 555 000 103</b></p>";

} // namespace

TForm1::TForm1(Windows& windows, const QString& executablePath, QStringList arguments)
    : FWindows(windows), FExecutablePath(executablePath), FArguments(std::move(arguments)) {
    setWindowTitle(QStringLiteral("Kelvra Slide Show"));
    StyleFixedWindow(this, {528, 302});

    CelkovaCena = MakeCaption(this, QStringLiteral("Kelvra Slide Show"), {183, 8, 339, 130});
    CelkovaCena->Caption().SetColorStart(clWhite);
    CelkovaCena->Caption().SetColorEnd(clLime);
    CelkovaCena->SetWordWrap(true);
    Verze = MakeCaption(this, QStringLiteral(LANTERNA_VERSION), {183, 128, 181, 50});
    Verze->Caption().SetColorStart(RGBColor(0x9F, 0xE0, 0xFF));
    Verze->Caption().SetColorEnd(RGBColor(0x00, 0x4F, 0x75));

    Logo = MakeReflectionImage(this, {8, 8, 176, 253}, 60);
    // The brand picture's reflection fades over its own height.
    ReflectionImage1 = MakeReflectionImage(this, {345, 128, 177, 81}, 44);
    ReflectionImage1->Picture().LoadFromFile(QStringLiteral(":/player/brand.png"));
    ReflectionImage1->setCursor(Qt::PointingHandCursor);

    HtmlLabel1 = new QLabel(QString::fromUtf8(kContactLine), this);
    HtmlLabel1->setGeometry(8, 267, 514, 34);
    HtmlLabel1->setTextFormat(Qt::RichText);
    HtmlLabel1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    HtmlLabel1->setCursor(Qt::PointingHandCursor);
    OpenLink = [](const QString& link) { ShellOpen(link); };
    connect(HtmlLabel1, &QLabel::linkActivated, this, [this](const QString& link) { OpenLink(link); });

    PokracovatBut = MakeButton(this, QStringLiteral("Pokračovat"), clLime, {405, 226, 115, 35});
    connect(PokracovatBut, &QPushButton::clicked, this, Guarded([this] { PokracovatButClick(); }));
    NastavitBut =
        MakeButton(this, QStringLiteral("Nastavit"), RGBColor(0x00, 0x80, 0xFF), {295, 226, 106, 35});
    connect(NastavitBut, &QPushButton::clicked, this, Guarded([this] { NastavitButClick(); }));

    Timer1 = new TTimer(this, 1000, false);
    Timer1->OnTimer = [this](TTimer*) { Timer1Timer(); };

    CenterOnScreen(this);
    FormCreate();
}

void TForm1::FormCreate() {
    SystemDirectory = QFileInfo(FExecutablePath).absolutePath();
    const QString logo = SystemDirectory + QStringLiteral("/LogoPRG.png");
    if (QFileInfo::exists(logo)) {
        // A picture that cannot be shown (too large, broken) is reported, and the window goes on
        // without it.
        try {
            Logo->Picture().LoadFromFile(logo);
        } catch (const std::exception& error) {
            Logo->Picture().Assign(nullptr);
            ShowExceptionLater(error);
        }
    }
    StavSystemu = QStringLiteral("START");
    Timer1->SetEnabled(true);
}

bool TForm1::AutoStarted() const {
    return FArguments.value(0) == QStringLiteral("/AUTOSTART");
}

void TForm1::RunStartUp() {
    if (OnLoadSettings)
        OnLoadSettings();
    FWindows.Form2->NactiSlideButClick();
    StavSystemu = QStringLiteral("RUN");
    if (AutoStarted())
        PokracovatButClick();
}

void TForm1::Timer1Timer() {
    if (StavSystemu == QStringLiteral("START"))
        RunStartUp();
    if (StavSystemu != QStringLiteral("RUN"))
        return;
    if (Settings().ClockVisible)
        FWindows.Form2->Hodiny->Caption().SetText(FormatLongTime(QTime::currentTime()));
}

void TForm1::PokracovatButClick() {
    TForm2* form2 = FWindows.Form2; // borderless from its creation on
    const TPresentationSettings settings = Settings();
    if (settings.FullScreen) {
        if (form2->isVisible() && !form2->isMaximized())
            FNormalPlace = form2->pos();
        // Maximised at once, so that the placement below sees the final size even where the
        // window manager answers later.
        if (QScreen* screen = form2->screen())
            form2->setGeometry(screen->availableGeometry());
        form2->showMaximized();
    } else {
        form2->showNormal();
        // Back from full screen the window takes its designed size again, where it stood before.
        form2->resize(TForm2::kDesignSize);
        if (FNormalPlace)
            form2->move(*std::exchange(FNormalPlace, std::nullopt));
    }
    form2->raise();
    form2->activateWindow();

    form2->ZavritBut->move(form2->width() - 50, form2->y() + 25);
    form2->Hodiny->move(form2->ZavritBut->x() - 100, form2->ZavritBut->y() + 25);
    form2->NactiSlideButClick();
    form2->Hodiny->setVisible(Settings().ClockVisible);
}

void TForm1::NastavitButClick() {
    if (OnShowSettings)
        OnShowSettings();
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

} // namespace player
