#include "player_fixture.h"

#include "player/start_form.h"

#include <QFile>

namespace player::testing {

void PlayerTest::SetUp() {
    InitialiseApplication();
    auto dialogs = std::make_unique<lanterna::ScriptedDialogs>();
    FDialogs = dialogs.get();
    FPrevious = lanterna::SetDialogs(std::move(dialogs));
    // Nothing may reach out: the update server is a closed local port unless a test serves one.
    qputenv("LANTERNA_UPDATE_SERVER", "http://127.0.0.1:9");
}

void PlayerTest::TearDown() {
    FProgram.reset();
    lanterna::SetDialogs(std::move(FPrevious));
}

void PlayerTest::Start(const QStringList& arguments) {
    FProgram = std::make_unique<Program>(FDir.filePath(QStringLiteral("Lanterna")), arguments);
    FProgram->Show();
}

void PlayerTest::WriteFile(const QString& name, const QByteArray& bytes) {
    QFile f(PathOf(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray PlayerTest::ReadFile(const QString& name) const {
    QFile f(PathOf(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

LocalHttpServer::LocalHttpServer(const QString& folder) {
    // Port 0: the system picks a free one, which the server prints first.
    const QString script =
        QStringLiteral("import functools, http.server, sys\n"
                       "h = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
                       "h.func.log_message = lambda *a: None\n"
                       "s = http.server.ThreadingHTTPServer(('127.0.0.1', 0), h)\n"
                       "print(s.server_address[1], flush=True)\n"
                       "s.serve_forever()\n");
    FProcess.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, folder});
    if (FProcess.waitForReadyRead(10000))
        FUrl = QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(FProcess.readLine().trimmed());
}

LocalHttpServer::~LocalHttpServer() {
    FProcess.kill();
    FProcess.waitForFinished(5000);
}

} // namespace player::testing
