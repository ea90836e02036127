#include "updater/directories.h"
#include "updater/executor.h"
#include "updater/layered_form.h"
#include "updater/web_launcher.h"

#include <QBitmap>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <sys/prctl.h>

using namespace updater;

namespace {

// Runs a test body in another current directory and comes back.
class InDirectory {
public:
    explicit InDirectory(const QString& path) : FPrevious(QDir::currentPath()) { QDir::setCurrent(path); }
    ~InDirectory() { QDir::setCurrent(FPrevious); }

private:
    QString FPrevious;
};

void WriteScript(const QString& path, const QByteArray& body) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(DirectoriesTest, CurrentDirectoryEndsInOneSeparatorAtAnyDepth) {
    TDirectories dir;
    QTemporaryDir temp;
    {
        InDirectory in(temp.path());
        EXPECT_EQ(dir.CurrentDirectory(), QDir::currentPath() + QLatin1Char('/'));
    }
    {
        InDirectory in(QStringLiteral("/"));
        EXPECT_EQ(dir.CurrentDirectory(), QStringLiteral("/"));
    }
    // Beyond the classic 249 characters the folder is still given whole.
    QString deep = temp.path();
    while (deep.size() <= TDirectories::kClassicPathLength + 20)
        deep += QStringLiteral("/a-rather-long-folder-name");
    ASSERT_TRUE(QDir().mkpath(deep));
    InDirectory in(deep);
    EXPECT_EQ(dir.CurrentDirectory(), QDir::currentPath() + QLatin1Char('/'));
    EXPECT_GT(dir.CurrentDirectory().size(), TDirectories::kClassicPathLength);
}

TEST(DirectoriesTest, EveryFolderIsEmptyOrEndsInOneSeparator) {
    TDirectories dir;
    const QString folders[] = {
        dir.WindowsDirectory(), dir.SystemDirectory(), dir.TempPath(), dir.ProgramFiles(),
        dir.ApplicationData(),  dir.Cache(),           dir.Cookies(),  dir.Desktop(),
        dir.Favorites(),        dir.Fonts(),           dir.History(),  dir.NetHood(),
        dir.Personal(),         dir.Programs(),        dir.Recent(),   dir.SendTo(),
        dir.StartMenu(),        dir.Startup(),         dir.Templates()};
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        EXPECT_TRUE(folder.endsWith(QLatin1Char('/'))) << folder.toStdString();
        EXPECT_FALSE(folder.endsWith(QStringLiteral("//"))) << folder.toStdString();
    }
    EXPECT_EQ(dir.TempPath(), QDir::tempPath() + QLatin1Char('/'));
    EXPECT_TRUE(dir.Startup().endsWith(QStringLiteral("/autostart/"))) << dir.Startup().toStdString();
    EXPECT_EQ(WithTrailingSeparator(QString()), QString());
}

TEST(WebLauncherTest, MailLinksListTheFieldsInTheirFixedOrder) {
    const QString a = QStringLiteral("info@example.com");
    EXPECT_EQ(MailToText(a, {}, {}, {}), QStringLiteral("mailto:info@example.com"));
    EXPECT_EQ(MailToText(a, {}, {}, QStringLiteral("Hello")),
              QStringLiteral("mailto:info@example.com?SUBJECT=Hello"));
    EXPECT_EQ(MailToText(a, QStringLiteral("cc@x"), {}, QStringLiteral("Hi there")),
              QStringLiteral("mailto:info@example.com?SUBJECT=Hi there&CC=cc@x"));
    EXPECT_EQ(MailToText(a, QStringLiteral("cc@x"), QStringLiteral("bcc@x"), QStringLiteral("S")),
              QStringLiteral("mailto:info@example.com?SUBJECT=S&BCC=bcc@x&CC=cc@x"));
    EXPECT_EQ(MailToText(a, QStringLiteral("cc@x"), {}, {}),
              QStringLiteral("mailto:info@example.com?CC=cc@x"));

    TWebLauncher launcher;
    QStringList opened;
    launcher.Open = [&](const QString& url) { opened << url; };
    launcher.SurfTo(QStringLiteral("https://example.com/a b?x=č"));
    launcher.MailTo(a, {}, QStringLiteral("bcc@x"), {});
    EXPECT_EQ(opened, (QStringList{QStringLiteral("https://example.com/a b?x=č"),
                                   QStringLiteral("mailto:info@example.com?BCC=bcc@x")}));
}

TEST(ExecutorTest, ExecuteAndWaitWaitsForTheProgramAndReturnsWhenItCannotStart) {
    QTemporaryDir temp;
    const QString marker = temp.filePath(QStringLiteral("ended"));
    TExecutor executor;
    // The marker exists on return only if the call waited for the program to end.
    executor.ExecuteAndWait(QStringLiteral("sh -c \"sleep 0.3; touch '%1'\"").arg(marker), 1);
    EXPECT_TRUE(QFileInfo::exists(marker));

    QElapsedTimer clock;
    clock.start();
    executor.ExecuteAndWait(temp.filePath(QStringLiteral("no-such-program")), 1);
    executor.ExecuteAndWait(QString(), 1);
    EXPECT_LT(clock.elapsed(), 10000);

    const QString refused = temp.filePath(QStringLiteral("refused"));
    const QString tooLong =
        QStringLiteral("touch '%1' %2").arg(refused, QString(TExecutor::kMaxCommandLine, u'x'));
    executor.ExecuteAndWait(tooLong, 1);
    EXPECT_FALSE(QFileInfo::exists(refused)) << "a command line over 512 characters is not started";

    // A program that outlives the wait keeps running after the call gives up.
    const QString late = temp.filePath(QStringLiteral("late"));
    executor.ExecuteAndWait(QStringLiteral("sh -c \"sleep 1; touch '%1'\"").arg(late), 1,
                            std::chrono::milliseconds(50));
    EXPECT_FALSE(QFileInfo::exists(late));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(late); }, 20000));
}

TEST(ExecutorTest, ExecuteAndWaitReturnsWhenTheProgramEndsAlsoWhereEndedProcessesStayUnreaped) {
    // Orphans of this process now stay with it, and it never reaps them: a program that is not
    // waited for as a child would count as running until the limit.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    TExecutor executor;
    QElapsedTimer clock;
    clock.start();
    executor.ExecuteAndWait(QStringLiteral("sh -c \"sleep 0.2\""), 1, std::chrono::seconds(30));
    const qint64 elapsed = clock.elapsed();
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    EXPECT_GE(elapsed, 200);
    EXPECT_LT(elapsed, 15000);
}

TEST(ExecutorTest, ExecStartsAProgramInItsDirectoryWithItsParameters) {
    QTemporaryDir temp;
    WriteScript(temp.filePath(QStringLiteral("tool")), "pwd > out.txt; echo \"$1|$2\" >> out.txt");
    TExecutor executor;
    executor.exec(QStringLiteral("tool"), QStringLiteral("first \"second one\""), temp.path());
    const QString out = temp.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QFile f(out);
            return f.open(QIODevice::ReadOnly) && f.readAll().count('\n') == 2;
        },
        20000));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QFileInfo(temp.path()).canonicalFilePath() + "\nfirst|second one\n");
}

TEST(LayeredFormTest, OnlyOneOnAWindow) {
    QWidget window;
    QWidget child(&window);
    QObject plain;
    auto message = [](auto&& create) {
        try {
            create();
        } catch (const ELayeredFormError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(message([&] { TLayeredForm f(&child); }), QStringLiteral("Control parent must be a form!"));
    EXPECT_EQ(message([&] { TLayeredForm f(&plain); }), QStringLiteral("Control parent must be a form!"));
    EXPECT_EQ(message([&] { TLayeredForm f(nullptr); }), QStringLiteral("Control parent must be a form!"));
    auto* first = new TLayeredForm(&window);
    EXPECT_EQ(first->parent(), &window);
    EXPECT_EQ(message([&] { TLayeredForm f(&window); }),
              QStringLiteral("Only one instance of TLayeredForm allowed on form"));
    EXPECT_EQ(window.findChildren<TLayeredForm*>().size(), 1);
}

TEST(LayeredFormTest, EachLayerTypeAppliesOnlyItsOwnValue) {
    // A white window with a black square: the colour key lets the white through.
    class Square : public QWidget {
        void paintEvent(QPaintEvent*) override {
            QPainter p(this);
            p.fillRect(rect(), Qt::white);
            p.fillRect(10, 10, 20, 20, Qt::black);
        }
    } window;
    window.resize(40, 40);
    TLayeredForm layer(&window);
    EXPECT_EQ(layer.Alpha(), 255);
    EXPECT_EQ(layer.ColorKey(), lanterna::clBlack);
    EXPECT_EQ(layer.LayerType(), ltNone);
    layer.SetVersion(QStringLiteral("9"));
    EXPECT_EQ(layer.Version(), QStringLiteral("1.0.0.1"));

    layer.SetAlpha(242);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0) << "no effect before a layer type is chosen";
    layer.SetLayerType(ltAlphaBlend);
    EXPECT_NEAR(window.windowOpacity(), 242 / 255.0, 0.005);
    layer.SetColorKey(lanterna::clWhite);
    EXPECT_TRUE(window.mask().isEmpty()) << "the key waits for its layer type";

    layer.SetLayerType(ltColorKey);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    EXPECT_FALSE(window.mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(window.mask().contains(QPoint(20, 20)));
    layer.SetAlpha(10);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    layer.SetLayerType(ltNone);
    EXPECT_TRUE(window.mask().isEmpty());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}
