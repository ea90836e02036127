#include "player/settings_form.h"

#include "drawing/fill.h"
#include "platform/error_display.h"
#include "platform/profile.h"
#include "platform/types.h"
#include "platform/windows.h"
#include "player/presentation_form.h"
#include "player/start_form.h"
#include "player/update_settings.h"
#include "player/version_check.h"
#include "player/window_style.h"
#include "widgets/directory_edit.h"
#include "widgets/gradient_panel.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace player {

using namespace lanterna;

namespace {

const QString kSection = QStringLiteral("Global");

QCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, int y, int w) {
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(160, y, w, 20);
    return box;
}

void MakeFieldLabel(QWidget* parent, const QString& caption, int y, int h) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(8, y, 148, h);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// Creates the last level of a folder; its parent must exist. Raises the platform's reason.
void CreateFolder(const QString& folder) {
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0)
        throw EInOutError(QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

TForm3::TForm3(Windows& windows)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      FWindows(windows) {
    setWindowTitle(QStringLiteral("Nastavení Slide Show"));
    StyleFixedWindow(this, {459, 280});

    Panel1 = new TGradientPanel(this);
    Panel1->setGeometry(8, 8, 449, 273);
    TFill& fill = Panel1->Fill();
    fill.BeginUpdate();
    fill.SetColor(RGBColor(0xE9, 0xF1, 0xFA));
    fill.SetColorTo(RGBColor(0xC7, 0xD8, 0xED));
    fill.SetColorMirror(RGBColor(0xC7, 0xD8, 0xED));
    fill.SetColorMirrorTo(RGBColor(0xE7, 0xF2, 0xFF));
    fill.SetGradientMirrorType(gtVertical);
    fill.SetBorderColor(RGBColor(0x8D, 0xB2, 0xE3));
    fill.SetRounding(10);
    fill.SetShadowOffset(10);
    fill.EndUpdate();
    QPalette text = Panel1->palette();
    text.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(text);

    MakeFieldLabel(Panel1, QStringLiteral("Adresář s obrázky:"), 16, 21);
    SlideDirectory = new TDirectoryEdit(Panel1);
    SlideDirectory->setGeometry(160, 16, 257, 21);
    MakeFieldLabel(Panel1, QStringLiteral("Interval změny:"), 43, 22);
    RotateInterval = new TSpinEdit(Panel1);
    RotateInterval->setGeometry(160, 43, 121, 22);
    RotateInterval->SetRange(1, 999);
    RotateInterval->SetValue(6);

    FullScreen = MakeCheckBox(Panel1, QStringLiteral("Celá obrazovka"), 71, 120);
    LogoVisible = MakeCheckBox(Panel1, QStringLiteral("Zobrazit Logo"), 86, 120);
    ClockVisible = MakeCheckBox(Panel1, QStringLiteral("Zobrazit hodiny"), 102, 120);
    ZjistitNovouVerziPriStartu =
        MakeCheckBox(Panel1, QStringLiteral("Zjistit novou verzi při startu"), 128, 161);
    for (QCheckBox* box : {LogoVisible, ClockVisible, ZjistitNovouVerziPriStartu})
        connect(box, &QCheckBox::clicked, this, Guarded([this] { LogoVisibleClick(); }));

    ZjistitNovouVerziBut = MakeButton(Panel1, QStringLiteral("Zjistit novou verzi"),
                                      RGBColor(0x00, 0x80, 0xFF), {17, 177, 144, 35});
    AktualizaceBut = MakeButton(Panel1, QStringLiteral("Aktualizace"), clGreen, {17, 218, 144, 35});
    ZavritBut = MakeButton(Panel1, QStringLiteral("Zavřít"), clRed, {219, 218, 90, 35});
    UlozitBut = MakeButton(Panel1, QStringLiteral("Uložit"), clLime, {315, 218, 115, 35});
    connect(ZjistitNovouVerziBut, &QPushButton::clicked, this,
            Guarded([this] { ZjistitNovouVerziButClick(); }));
    connect(AktualizaceBut, &QPushButton::clicked, this, Guarded([this] { AktualizaceButClick(); }));
    connect(ZavritBut, &QPushButton::clicked, this, Guarded([this] { ZavritButClick(); }));
    connect(UlozitBut, &QPushButton::clicked, this, Guarded([this] { UlozitButClick(); }));

    CenterOnScreen(this);
}

TPresentationSettings TForm3::PresentationSettings() const {
    return {SlideDirectory->Text(), RotateInterval->Value(), FullScreen->isChecked(),
            LogoVisible->isChecked(), ClockVisible->isChecked()};
}

QString TForm3::ConfigFileName() const {
    return FWindows.Form1->SystemDirectory + QStringLiteral("/SlideShow.cfg");
}

void TForm3::NacistButClick() {
    TForm1* form1 = FWindows.Form1;
    form1->Timer1->SetEnabled(false);
    const TIniFile ini(ConfigFileName());
    SlideDirectory->SetText(ini.ReadString(kSection, QStringLiteral("SlideDirectory"),
                                           form1->SystemDirectory + QStringLiteral("/Slides")));
    FullScreen->setChecked(ini.ReadBool(kSection, QStringLiteral("FullScreen"), false));
    LogoVisible->setChecked(ini.ReadBool(kSection, QStringLiteral("LogoVisible"), false));
    ClockVisible->setChecked(ini.ReadBool(kSection, QStringLiteral("ClockVisible"), false));
    RotateInterval->SetValue(ini.ReadInteger(kSection, QStringLiteral("RotateInterval"), 6));
    ZjistitNovouVerziPriStartu->setChecked(
        ini.ReadBool(kSection, QStringLiteral("ZjistitNovouVerziPriStartu"), true));
    form1->ConfiguredUpdateServer = ini.ReadString(kSection, QStringLiteral("UpdateServer"), QString());
    form1->ConfiguredAutoUpdate = ini.ReadBool(kSection, QStringLiteral("AutoUpdate"), false);
    form1->ConfiguredUpdateHour = ini.ReadInteger(kSection, QStringLiteral("UpdateHour"), kDefaultUpdateHour);

    TForm2* form2 = FWindows.Form2;
    form2->Logo->setVisible(LogoVisible->isChecked());
    const QString logo = form1->SystemDirectory + QStringLiteral("/Logo.png");
    if (QFileInfo::exists(logo))
        form2->Logo->setPixmap(QPixmap(logo));
    if (ZjistitNovouVerziPriStartu->isChecked() && form1->StavSystemu == QStringLiteral("START")) {
        try {
            ZjistitNovouVerziButClick();
        } catch (const std::exception& error) {
            // A sign must start without its update server: the start-up goes on as if the version
            // were current, and the error is shown once, when the show has started.
            ShowExceptionLater(error);
        }
    }
    form1->Timer1->SetEnabled(true);
}

void TForm3::UlozitButClick() {
    const QString folder = SlideDirectory->Text();
    const auto flag = [](const QCheckBox* box) { return QString::number(int(box->isChecked())); };
    const std::vector<TIniFile::TEntry> entries = {
        {QStringLiteral("SlideDirectory"), folder},
        {QStringLiteral("FullScreen"), flag(FullScreen)},
        {QStringLiteral("LogoVisible"), flag(LogoVisible)},
        {QStringLiteral("ClockVisible"), flag(ClockVisible)},
        {QStringLiteral("RotateInterval"), QString::number(RotateInterval->Value())},
        {QStringLiteral("ZjistitNovouVerziPriStartu"), flag(ZjistitNovouVerziPriStartu)},
    };
    // The six keys are written together or not at all, and a save that would be refused creates no
    // folder either.
    TIniFile ini(ConfigFileName());
    ini.CheckWrite(kSection, entries);
    if (!QFileInfo(folder).isDir())
        CreateFolder(folder);
    ini.WriteStrings(kSection, entries);
    close();
}

void TForm3::ZavritButClick() {
    close();
}

void TForm3::LogoVisibleClick() {
    FWindows.Form2->Logo->setVisible(LogoVisible->isChecked());
}

void TForm3::ZjistitNovouVerziButClick() {
    CheckForNewVersion(*FWindows.Form1);
}

void TForm3::AktualizaceButClick() {
    HandOverToUpdater(*FWindows.Form1);
}

} // namespace player
