#include "updater_fixture.h"

#include "testing/test_files.h"
#include "updater/main_form.h"
#include "updater/web_launcher.h"

#include <QDir>
#include <QTest>

namespace updater::testing {

void UpdaterTest::SetUp() {
    InitialiseApplication();
    FScripted.emplace();
    FDialogs = &FScripted->Script();
    FPreviousDirectory = QDir::currentPath();
}

void UpdaterTest::TearDown() {
    FProgram.reset();
    QDir::setCurrent(FPreviousDirectory);
    FScripted.reset();
}

void UpdaterTest::Start(const QStringList& arguments, const QString& folder) {
    const QString path = folder.isEmpty() ? FDir.path() : QDir(FDir.path()).filePath(folder);
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_TRUE(QDir::setCurrent(path));
    FProgram = std::make_unique<Program>(arguments);
    Form1().WebLauncher1->Open = [this](const QString& url) { FOpened << url; };
    FProgram->Show();
}

bool UpdaterTest::StartedUp() {
    return QTest::qWaitFor([this] { return Form1().Stav() != QStringLiteral("START"); }, 10000);
}

bool UpdaterTest::RunEnded() {
    return QTest::qWaitFor([this] { return Form1().Stav() == QStringLiteral("KONEC"); }, 60000);
}

void UpdaterTest::WriteFile(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(lanterna::testing::WriteFileBytes(PathOf(name), bytes)) << name.toStdString();
}

QByteArray UpdaterTest::ReadFile(const QString& name) const {
    return lanterna::testing::ReadFileBytes(PathOf(name));
}

} // namespace updater::testing
