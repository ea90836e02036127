#include "updater/main_form.h"

#include "drawing/reflection_image.h"
#include "platform/dialogs.h"
#include "platform/error_display.h"
#include "platform/fonts.h"
#include "platform/windows.h"
#include "updater/directories.h"
#include "updater/layered_form.h"
#include "updater/outer_size.h"
#include "updater/update_description.h"
#include "updater/web_launcher.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"
#include "widgets/reflection_label.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace updater {

using namespace lanterna;

namespace {

// The caption the window was designed with: the program, the maker's notice and the version.
const char* const kDesignCaption = "Kelvra Updater - © 2009–2026 Kelvra Software ver. 5.1.";

QString CentredParagraph(const QString& html) {
    return QStringLiteral("<p align=\"center\">") + html + QStringLiteral("</p>");
}

// A centred heading in black bold letters over a reflection 20 rows high at opacity 50.
TReflectionLabel* MakeHeading(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new TReflectionLabel(parent);
    label->setGeometry(geometry);
    label->setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 23, true));
    label->SetFontColor(clBlack);
    label->SetReflectionSize(20);
    label->SetReflectionOpacity(50);
    label->SetHTMLText(CentredParagraph(text));
    return label;
}

// A glass button with its caption in Arial 16 bold white and corners of radius 8.
TGlassButton* MakeGlassButton(QWidget* parent, const QString& caption, TColor color, TColor shine,
                              const QRect& geometry) {
    auto* button = new TGlassButton(caption, color, parent);
    button->setGeometry(geometry);
    button->setFont(MakeQFont(QStringLiteral("Arial"), 16, true));
    button->SetFontColor(clWhite);
    button->SetCornerRadius(8);
    button->SetShineColor(shine);
    return button;
}

TLevelProgressBar* MakeLevelBar(QWidget* parent, const QRect& geometry) {
    auto* bar = new TLevelProgressBar(parent);
    bar->setGeometry(geometry);
    bar->setFont(MakeQFont(QStringLiteral("Verdana"), 13));
    bar->SetPosition(0);
    bar->hide();
    return bar;
}

} // namespace

TForm1::TForm1(QStringList arguments) : FArguments(std::move(arguments)) {
    setWindowFlags(Qt::Tool);
    setWindowTitle(QString::fromUtf8(kDesignCaption));
    setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 11));
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, Qt::white);
    look.setColor(QPalette::WindowText, Qt::black);
    setPalette(look);
    setFixedSize(kClientWidth, 208);

    ReflectionImage1 = new TReflectionImage(this);
    ReflectionImage1->setGeometry(8, 8, 161, 89);
    ReflectionImage1->Picture().LoadFromFile(QStringLiteral(":/updater/brand.png"));
    ReflectionImage1->SetReflectionOpacityStart(50);
    ReflectionImage1->SetReflectionOpacityEnd(50);
    ReflectionImage1->SetReflectionAxis(0);

    ReflectionLabel1 = MakeHeading(this, QStringLiteral("Update system for"), {184, 16, 217, 41});
    ProductName = MakeHeading(this, QStringLiteral("wait.."), {8, 48, 409, 41});

    ReflectionLabel1->OnClick = [this](TReflectionLabel*) {
        RunGuarded([this] { ReflectionLabel1Click(); });
    };

    CircularProgress1 = new TCircularProgress(this);
    CircularProgress1->setGeometry(8, 88, 60, 60);
    TProgressAppearance& ring = CircularProgress1->Appearance();
    ring.SetActiveSegmentColor(RGBColor(0x9F, 0x9F, 0xFF));
    ring.SetInActiveSegmentColor(clSilver);
    ring.SetTransitionSegmentColor(RGBColor(0x00, 0x00, 0xA0));
    ring.SetProgressSegmentColor(RGBColor(0x80, 0x00, 0x40));
    ring.SetBackGroundColor(clNone);
    ring.SetBorderColor(clNone);
    CircularProgress1->SetInterval(100);
    CircularProgress1->hide();
    CircularProgress1->setEnabled(false);

    StartBut = MakeGlassButton(this, QStringLiteral("Start"), clGreen, clLime, {82, 96, 167, 57});
    StartBut->SetGlowColor(clWhite);
    StartBut->SetOuterBorderColor(clWhite);
    StartBut->SetInnerBorderColor(clBlack);
    StartBut->setToolTip(QStringLiteral("Vstup do prodejního panelu"));
    StartBut->OnClick = [this](TGlassButton*) { RunGuarded([this] { StartButClick(); }); };
    StopBut = MakeGlassButton(this, QStringLiteral("Zrušit"), clRed, RGBColor(0xFF, 0x80, 0x80),
                              {250, 96, 167, 57});
    StopBut->setEnabled(false);
    StopBut->OnClick = [this](TGlassButton*) { RunGuarded([this] { StopButClick(); }); };

    Souborek = MakeLevelBar(this, {8, 160, 417, 18});
    Totalek = MakeLevelBar(this, {8, 180, 417, 18});
    soubor = new QLabel(QStringLiteral("-"), this);
    soubor->move(8, 200);

    Dir1 = new TDirectories(this);
    WebLauncher1 = new TWebLauncher(this);
    LayeredForm1 = new TLayeredForm(this);
    LayeredForm1->SetAlpha(242);
    LayeredForm1->SetColorKey(clWhite);
    LayeredForm1->SetLayerType(ltAlphaBlend);
    LayeredForm1->Loaded();

    FOuterSize = new TOuterSize(this);
    Timer1 = new TTimer(this, 1, true);
    Timer1->OnTimer = [this](TTimer*) { Timer1Timer(); };

    CenterOnScreen(this);
    FormCreate();
}

void TForm1::FormCreate() {
    Adresar = Dir1->CurrentDirectory();
    FStav = QStringLiteral("START");
    SetOuterHeight(kStartHeight);
}

void TForm1::SetOuterHeight(int height) {
    FOuterSize->SetOuterSize({0, height});
}

int TForm1::OuterHeight() const {
    return frameGeometry().height();
}

void TForm1::Timer1Timer() {
    if (FStav == QStringLiteral("KONEC")) {
        close();
        return;
    }
    if (FStav == QStringLiteral("START")) {
        FStav = QStringLiteral("STARTING");
        Timer1->SetInterval(1000);
        ReadDescription();
    }
}

void TForm1::ReadDescription() {
    const TUpdateDescription description =
        ReadUpdateDescription(Adresar + QStringLiteral("UpDate.dat"), 0, UpdaterTrust(Adresar));
    if (!description.Untrusted.isEmpty()) {
        RefuseDescription(description.Untrusted);
        return;
    }
    const QString name = description.ProductName;
    // The name is the server's text, shown as it is: markup in it could stall the window.
    ProductName->SetHTMLText(CentredParagraph(name.toHtmlEscaped()));
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + name);
    if (name != QLatin1String(TUpdateDescription::kNoProduct)) {
        if (OnLoadList)
            OnLoadList();
        FStav = QStringLiteral("RUN");
        if (Unattended())
            StartButClick();
        return;
    }
    // The address names the expected file as it is, not encoded: the help page reads it so.
    WebLauncher1->SurfTo(QLatin1String(kHelpPage) + Adresar + QStringLiteral("UpDate.dat"));
    FStav = QStringLiteral("KONEC");
}

void TForm1::RefuseDescription(const QString& reason) {
    setWindowTitle(reason);
    CurrentDialogs().Error(reason);
    FStav = QStringLiteral("KONEC");
}

void TForm1::StartButClick() {
    // One run per program start: "Start", enabled again when the run ends, does nothing after it.
    if (FStav != QStringLiteral("RUN"))
        return;
    CircularProgress1->show();
    CircularProgress1->setEnabled(true);
    StartBut->setEnabled(false);
    StopBut->setEnabled(true);
    Souborek->show();
    Totalek->show();
    SetOuterHeight(kDownloadHeight);
    // Qt paints every widget double-buffered, so the bars repaint without flicker as they are.
    if (OnStartDownload)
        OnStartDownload();
}

void TForm1::StopButClick() {
    CircularProgress1->hide();
    CircularProgress1->setEnabled(false);
    if (OnCancelDownload)
        OnCancelDownload();
    StartBut->setEnabled(true);
    StopBut->setEnabled(false);
}

bool TForm1::BeginRun() {
    // One run per program start: none while one runs, none after it.
    if (FStav != QStringLiteral("RUN"))
        return false;
    FStav = QStringLiteral("UPDATING");
    return true;
}

void TForm1::ShowFileCount(int count) {
    Totalek->SetMax(count);
}

void TForm1::ShowFilesDone(int done) {
    Totalek->SetPosition(done);
}

void TForm1::ShowFileProgress(int position, int max) {
    if (Souborek->Max() != max)
        Souborek->SetMax(max);
    if (Souborek->Position() != position)
        Souborek->SetPosition(position);
}

void TForm1::ShowFileLine(const QString& line) {
    if (soubor->text() == line)
        return;
    soubor->setText(line);
    soubor->adjustSize();
}

void TForm1::ShowCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TForm1::ShowStopped() {
    StopButClick();
}

void TForm1::RunEnded() {
    FStav = QStringLiteral("KONEC");
}

void TForm1::CloseProgram() {
    close();
}

void TForm1::ShowList() {
    if (OnShowList)
        OnShowList();
}

void TForm1::FormClick() {
    ShowList();
}

void TForm1::ReflectionLabel1Click() {
    ShowList();
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        RunGuarded([this] { FormClick(); });
    QWidget::mouseReleaseEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A run must not go on behind a closed window: it stops after its current block.
    if (OnCancelDownload)
        OnCancelDownload();
    event->accept();
    QCoreApplication::quit();
}

} // namespace updater
