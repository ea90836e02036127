#include "player_fixture.h"

#include "player/start_form.h"
#include "testing/test_files.h"

#include <QFile>

namespace player::testing {

void PlayerTest::SetUp() {
    InitialiseApplication();
    FScripted.emplace();
    FDialogs = &FScripted->Script();
    // Nothing may reach out: the update server is a closed local port unless a test serves one.
    qputenv("LANTERNA_UPDATE_SERVER", "http://127.0.0.1:9");
}

void PlayerTest::TearDown() {
    FProgram.reset();
    FScripted.reset();
}

void PlayerTest::Start(const QStringList& arguments) {
    FProgram = std::make_unique<Program>(FDir.filePath(QStringLiteral("Lanterna")), arguments);
    FProgram->Show();
}

void PlayerTest::WriteFile(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(lanterna::testing::WriteFileBytes(PathOf(name), bytes)) << name.toStdString();
}

QByteArray PlayerTest::ReadFile(const QString& name) const {
    QFile f(PathOf(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace player::testing
