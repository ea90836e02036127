#include "updater_fixture.h"

#include "updater/list_form.h"
#include "updater/main_form.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"
#include "widgets/reflection_label.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace updater;
using namespace updater::testing;

namespace {

const QString kDesignCaption = QString::fromUtf8("Kelvra Updater - © 2009–2026 Kelvra Software ver. 5.1.");

} // namespace

TEST_F(UpdaterTest, WindowsStartAsDesigned) {
    Start();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Kelvra UpDater"));
    EXPECT_EQ(Form1().windowTitle(), kDesignCaption);
    EXPECT_TRUE(Form1().isVisible());
    EXPECT_FALSE(Form2().isVisible());
    EXPECT_EQ(Form1().Stav(), QStringLiteral("START"));
    EXPECT_EQ(Form1().Adresar, QDir::currentPath() + QLatin1Char('/'));
    EXPECT_EQ(Form1().OuterHeight(), TForm1::kStartHeight);
    EXPECT_EQ(Form1().width(), 429);
    EXPECT_NEAR(Form1().windowOpacity(), 242 / 255.0, 0.005);
    EXPECT_TRUE(Form1().windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(Form1().Timer1->Interval(), 1);

    const std::pair<QWidget*, QRect> placed[] = {
        {Form1().ReflectionLabel1, {184, 16, 217, 41}}, {Form1().ProductName, {8, 48, 409, 41}},
        {Form1().CircularProgress1, {8, 88, 60, 60}},   {Form1().StartBut, {82, 96, 167, 57}},
        {Form1().StopBut, {250, 96, 167, 57}},          {Form1().Souborek, {8, 160, 417, 18}},
        {Form1().Totalek, {8, 180, 417, 18}},           {&Form2(), {282, 259, 391, 488}},
        {Form2().StringGrid1, {16, 48, 345, 361}},      {Form2().NacistDavku, {16, 416, 75, 25}},
        {Form2().StartBut, {264, 416, 99, 25}}};
    for (const auto& [widget, geometry] : placed)
        EXPECT_EQ(widget->geometry(), geometry) << widget->metaObject()->className();
    EXPECT_FALSE(Form1().CircularProgress1->isVisible());
    EXPECT_FALSE(Form1().Souborek->isVisible());
    EXPECT_FALSE(Form1().Totalek->isVisible());
    EXPECT_TRUE(Form1().StartBut->isEnabled());
    EXPECT_FALSE(Form1().StopBut->isEnabled());
    EXPECT_EQ(Form1().soubor->text(), QStringLiteral("-"));

    EXPECT_EQ(Form2().windowTitle(), QStringLiteral("Form2"));
    EXPECT_EQ(Form2().StringGrid1->rowCount(), 1000);
    EXPECT_EQ(Form2().StringGrid1->columnCount(), 2);
    EXPECT_EQ(Form2().StringGrid1->columnWidth(0), 20);
    EXPECT_EQ(Form2().StringGrid1->columnWidth(1), 315);
    EXPECT_EQ(Form2().StringGrid1->rowHeight(999), 18);
}

TEST_F(UpdaterTest, WithoutAProductTheHelpPageOpensAndTheProgramEndsATickLater) {
    // The folder goes into the address as it is: spaces and Czech letters included.
    for (const QByteArray& description :
         {QByteArray(), QByteArray("[UPDATE]\nProductName=ERROR!!\nFiles=1\n")}) {
        FOpened.clear();
        const QString folder = QStringLiteral("Složka s mezerou %1").arg(description.size());
        if (!description.isEmpty()) {
            ASSERT_TRUE(QDir(FDir.path()).mkpath(folder));
            WriteFile(folder + QStringLiteral("/UpDate.dat"), description);
        }
        Start({QStringLiteral("AUTO")}, folder);
        ASSERT_TRUE(StartedUp());
        const QString adresar = FDir.filePath(folder) + QLatin1Char('/');
        EXPECT_EQ(Form1().Adresar, adresar);
        EXPECT_EQ(Form1().Stav(), QStringLiteral("KONEC"));
        EXPECT_EQ(Form1().Timer1->Interval(), 1000);
        EXPECT_EQ(Form1().ProductName->HTMLText(), QStringLiteral("<p align=\"center\">ERROR!!</p>"));
        EXPECT_EQ(Form1().windowTitle(), kDesignCaption + QStringLiteral(" - ERROR!!"));
        EXPECT_EQ(FOpened, QStringList{QStringLiteral(
                                           "https://help.kelvra.example/index.php?action=artikel&cat=1&id=13&"
                                           "artlang=cs&dir=") +
                                       adresar + QStringLiteral("UpDate.dat")});
        EXPECT_TRUE(FDialogs->Shown().empty()) << "nothing else is reported";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Form1().isVisible(); }, 10000));
        FProgram.reset();
    }
}

TEST_F(UpdaterTest, AProductLoadsTheListAndOnlyUpperCaseAutoStarts) {
    WriteFile(QStringLiteral("UpDate.dat"), "[UPDATE]\nProductName=Kelvra <i>Lide</i>\nFiles=3\n"
                                            "File1=http://127.0.0.1:9/a\nFile3=http://127.0.0.1:9/c\n");
    Start({QStringLiteral("auto")});
    ASSERT_TRUE(StartedUp());
    EXPECT_EQ(Form1().Stav(), QStringLiteral("RUN"));
    // The name is the server's text, not markup.
    EXPECT_EQ(Form1().ProductName->HTMLText(),
              QStringLiteral("<p align=\"center\">Kelvra &lt;i&gt;Lide&lt;/i&gt;</p>"));
    EXPECT_EQ(Form1().windowTitle(), kDesignCaption + QStringLiteral(" - Kelvra <i>Lide</i>"));
    EXPECT_EQ(Form2().Cell(1, 1), QStringLiteral("http://127.0.0.1:9/a"));
    EXPECT_EQ(Form2().Cell(1, 2), QString());
    EXPECT_EQ(Form2().Cell(1, 3), QStringLiteral("http://127.0.0.1:9/c"));
    EXPECT_TRUE(FOpened.isEmpty());
    // Later ticks leave the state alone; the program waits for "Start".
    QTest::qWait(1500);
    EXPECT_EQ(Form1().Stav(), QStringLiteral("RUN"));
    EXPECT_TRUE(Form1().StartBut->isEnabled());
    EXPECT_EQ(Form1().OuterHeight(), TForm1::kStartHeight);
}

TEST_F(UpdaterTest, ClicksOnTheWindowOrItsHeadingShowTheList) {
    Start();
    QTest::mouseClick(&Form1(), Qt::LeftButton, {}, QPoint(3, 100));
    EXPECT_TRUE(Form2().isVisible());
    Form2().hide();
    QTest::mouseClick(Form1().ReflectionLabel1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(Form2().isVisible());
    EXPECT_TRUE(Form1().isVisible());
}

TEST_F(UpdaterTest, LoadReportsAMissingDescriptionAndKeepsTheGrid) {
    Start();
    Form2().SetCell(1, 5, QStringLiteral("typed by hand"));
    Form2().NacistDavku->click();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("File ") + Form1().Adresar +
                                             QStringLiteral("UpDate.dat NOT found!")});
    EXPECT_EQ(FDialogs->Shown().front().Type, lanterna::mtMessage);
    EXPECT_EQ(Form2().Cell(1, 5), QStringLiteral("typed by hand"));

    // A load does not clear rows beyond the list.
    WriteFile(QStringLiteral("UpDate.dat"), "[UPDATE]\nFiles=1\nFile1=http://h/one\n");
    Form2().NacistDavku->click();
    EXPECT_EQ(Form2().Cell(1, 1), QStringLiteral("http://h/one"));
    EXPECT_EQ(Form2().Cell(1, 5), QStringLiteral("typed by hand"));
}

TEST_F(UpdaterTest, StartWithNothingListedSaysSoAndEnds) {
    WriteFile(QStringLiteral("UpDate.dat"), "[UPDATE]\nProductName=P\n");
    Start();
    ASSERT_TRUE(StartedUp());
    Form1().StartBut->click();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("No files to download!")});
    EXPECT_EQ(FDialogs->Shown().front().Type, lanterna::mtError);
    EXPECT_FALSE(Form1().isVisible());
    EXPECT_EQ(Form1().Stav(), QStringLiteral("UPDATING"));
}
