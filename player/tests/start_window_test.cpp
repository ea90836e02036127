#include "player_fixture.h"

#include "drawing/gradient_label.h"
#include "drawing/reflection_image.h"
#include "platform/time_format.h"
#include "player/presentation_form.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "slideshow/slide_show.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace player;
using namespace player::testing;

namespace {

const QByteArray kQuietConfig = "[Global]\nZjistitNovouVerziPriStartu=0\n";

} // namespace

TEST_F(PlayerTest, StartsWithThreeWindowsAndOnlyTheStartWindowShown) {
    QImage logo(176, 200, QImage::Format_ARGB32);
    logo.fill(Qt::red);
    logo.save(PathOf(QStringLiteral("LogoPRG.png")));
    Start();
    const Windows& w = Forms();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Kelvra Lide Show"));
    EXPECT_TRUE(w.Form1->isVisible());
    EXPECT_FALSE(w.Form2->isVisible());
    EXPECT_FALSE(w.Form3->isVisible());
    EXPECT_EQ(w.Form1->windowTitle(), QStringLiteral("Kelvra Slide Show"));
    EXPECT_EQ(w.Form1->size(), QSize(528, 302));
    EXPECT_EQ(w.Form1->SystemDirectory, FDir.path());
    EXPECT_EQ(w.Form1->StavSystemu, QStringLiteral("START"));
    EXPECT_TRUE(w.Form1->Timer1->Enabled());
    EXPECT_EQ(w.Form1->Timer1->Interval(), 1000);
    EXPECT_EQ(w.Form1->Verze->Caption().Text(), QStringLiteral("1.2"));
    EXPECT_EQ(w.Form1->Logo->Picture().Width(), 176);
    EXPECT_EQ(w.Form1->Logo->Picture().Height(), 200);
    EXPECT_EQ(w.Form1->ReflectionImage1->Picture().Width(), 150);
    EXPECT_EQ(w.Form1->ReflectionImage1->Picture().Height(), 44);

    const std::pair<QWidget*, QRect> layout[] = {
        {w.Form1->CelkovaCena, {183, 8, 339, 130}},  {w.Form1->Verze, {183, 128, 181, 50}},
        {w.Form1->Logo, {8, 8, 176, 253}},           {w.Form1->ReflectionImage1, {345, 128, 177, 81}},
        {w.Form1->HtmlLabel1, {8, 267, 514, 34}},    {w.Form1->PokracovatBut, {405, 226, 115, 35}},
        {w.Form1->NastavitBut, {295, 226, 106, 35}},
    };
    for (const auto& [widget, rect] : layout)
        EXPECT_EQ(widget->geometry(), rect) << widget->metaObject()->className();
    EXPECT_EQ(w.Form1->PokracovatBut->text(), QStringLiteral("Pokračovat"));
    EXPECT_TRUE(w.Form1->HtmlLabel1->text().contains(QStringLiteral("telefon:")));

    const QRect screen = w.Form1->screen()->availableGeometry();
    EXPECT_NEAR(w.Form1->geometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(w.Form1->geometry().center().y(), screen.center().y(), 2);
}

TEST_F(PlayerTest, FirstTickLoadsBuildsAndSwitchesToRunThenOnlyKeepsTheClock) {
    WriteFile(QStringLiteral("SlideShow.cfg"), kQuietConfig + "ClockVisible=1\n");
    Start();
    TForm1* f1 = Forms().Form1;
    TForm2* f2 = Forms().Form2;
    EXPECT_EQ(f2->Hodiny->Caption().Text(), QStringLiteral("--:--:--"));
    f1->Timer1Timer();
    EXPECT_EQ(f1->StavSystemu, QStringLiteral("RUN"));
    EXPECT_TRUE(f1->Timer1->Enabled());
    EXPECT_FALSE(f2->isVisible()) << "without /AUTOSTART the start window waits";
    const QString now = lanterna::FormatLongTime(QTime::currentTime());
    EXPECT_TRUE(f2->Hodiny->Caption().Text() == now ||
                f2->Hodiny->Caption().Text() == lanterna::FormatLongTime(QTime::currentTime().addSecs(-1)))
        << f2->Hodiny->Caption().Text().toStdString();

    // Later ticks no longer load: a changed file has no effect, the clock still runs.
    WriteFile(QStringLiteral("SlideShow.cfg"), kQuietConfig + "RotateInterval=99\n");
    Forms().Form3->ClockVisible->setChecked(false);
    f2->Hodiny->Caption().SetText(QStringLiteral("stale"));
    f1->Timer1Timer();
    EXPECT_EQ(Forms().Form3->RotateInterval->Value(), 6);
    EXPECT_EQ(f2->Hodiny->Caption().Text(), QStringLiteral("stale"))
        << "an unchecked clock is left untouched";
    Forms().Form3->ClockVisible->setChecked(true);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return f2->Hodiny->Caption().Text() != QStringLiteral("stale"); }, 3000))
        << "the running timer keeps the clock current";
}

TEST_F(PlayerTest, AutostartOpensThePresentationOnlyAsTheExactFirstArgument) {
    WriteFile(QStringLiteral("SlideShow.cfg"), kQuietConfig);
    for (const QStringList& args :
         {QStringList{QStringLiteral("/autostart")},
          QStringList{QStringLiteral("x"), QStringLiteral("/AUTOSTART")}, QStringList{}}) {
        Start(args);
        Forms().Form1->Timer1Timer();
        EXPECT_EQ(Forms().Form1->StavSystemu, QStringLiteral("RUN"));
        EXPECT_FALSE(Forms().Form2->isVisible()) << args.join(QLatin1Char(' ')).toStdString();
    }
    Start({QStringLiteral("/AUTOSTART")});
    // The real timer: about a second after start the presentation opens.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Forms().Form2->isVisible(); }, 3000));
    EXPECT_TRUE(Forms().Form2->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(PlayerTest, PokracovatPlacesTheCloseButtonAndClockByTheWindow) {
    WriteFile(QStringLiteral("SlideShow.cfg"), kQuietConfig + "ClockVisible=1\nFullScreen=0\n");
    Start();
    Forms().Form1->Timer1Timer();
    TForm2* f2 = Forms().Form2;
    f2->move(40, 70);
    Forms().Form1->PokracovatButClick();
    EXPECT_TRUE(f2->isVisible());
    EXPECT_FALSE(f2->isMaximized());
    EXPECT_EQ(f2->ZavritBut->pos(), QPoint(f2->width() - 50, f2->y() + 25));
    EXPECT_EQ(f2->Hodiny->pos(), QPoint(f2->ZavritBut->x() - 100, f2->ZavritBut->y() + 25));
    EXPECT_TRUE(f2->Hodiny->isVisible());
    EXPECT_EQ(f2->SlideShow->geometry(), f2->rect());

    Forms().Form3->FullScreen->setChecked(true);
    Forms().Form3->ClockVisible->setChecked(false);
    Forms().Form1->PokracovatButClick();
    const QRect screen = f2->screen()->availableGeometry();
    EXPECT_EQ(f2->geometry(), screen);
    EXPECT_EQ(f2->ZavritBut->pos(), QPoint(screen.width() - 50, screen.top() + 25));
    EXPECT_FALSE(f2->Hodiny->isVisible());

    Forms().Form3->FullScreen->setChecked(false);
    Forms().Form1->PokracovatButClick();
    EXPECT_FALSE(f2->isMaximized());
    EXPECT_EQ(f2->size(), QSize(771, 450)) << "back from full screen at the designed size";
    EXPECT_EQ(f2->pos(), QPoint(40, 70)) << "and where it stood";
    EXPECT_EQ(f2->ZavritBut->pos(), QPoint(771 - 50, f2->y() + 25));

    f2->ZavritBut->click();
    EXPECT_FALSE(f2->isVisible()) << "X only hides the presentation";
    EXPECT_TRUE(Forms().Form1->isVisible());
}

TEST_F(PlayerTest, FailedStartUpCheckIsShownOnceAndTheShowStartsAllTheSame) {
    // The version check at start is on, and the server cannot be reached.
    WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nClockVisible=1\n");
    Start({QStringLiteral("/AUTOSTART")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !FDialogs->Shown().empty(); }, 5000)); // the real first tick
    // The box comes after the start-up: the presentation is open behind it.
    EXPECT_TRUE(Forms().Form2->isVisible());
    EXPECT_EQ(Forms().Form1->StavSystemu, QStringLiteral("RUN"));
    EXPECT_TRUE(Forms().Form1->Timer1->Enabled());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Forms().Form2->Hodiny->Caption().Text() != QStringLiteral("--:--:--"); }, 5000));
    QTest::qWait(1100); // no second start-up, no second box
    ASSERT_EQ(FDialogs->Shown().size(), 1u);
    EXPECT_EQ(FDialogs->Shown()[0].Caption, QStringLiteral("Kelvra Lide Show"));
    EXPECT_TRUE(FDialogs->Shown()[0].Text.endsWith(QLatin1Char('.')));

    // From the button, the check reports its error at once, as a handler does.
    FDialogs->ClearShown();
    Forms().Form3->ZjistitNovouVerziBut->click();
    EXPECT_EQ(FDialogs->Shown().size(), 1u);
}

TEST_F(PlayerTest, NastavitShowsTheSettingsWindowCentredAndOnTop) {
    Start();
    Forms().Form1->NastavitBut->click();
    TForm3* f3 = Forms().Form3;
    EXPECT_TRUE(f3->isVisible());
    EXPECT_TRUE(f3->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f3->size(), QSize(459, 280));
    EXPECT_EQ(f3->windowTitle(), QStringLiteral("Nastavení Slide Show"));
    f3->close();
    EXPECT_FALSE(f3->isVisible());
    EXPECT_TRUE(Forms().Form1->isVisible());
}
