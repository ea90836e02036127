#pragma once
// A player whose update server is a local folder served over HTTP, optionally with a public key in
// its program folder, and a stand-in updater that writes down how it was started.

#include "player_fixture.h"

#include "testing/minisign_tool.h"

#include <QDateTime>

namespace player::testing {

class VersionCheckTest : public PlayerTest {
protected:
    void SetUp() override;
    // Puts `bytes` on the server as /slideshow/`name`.
    void Publish(const QString& name, const QByteArray& bytes);
    // Gives the served file the time the server reports as its Last-Modified.
    void SetServedTime(const QString& name, const QDateTime& time);
    QByteArray Served(const QString& name) const;
    void Run(); // switches the player to "RUN"
    // Starts the player anew with `config` and `arguments` and lets its first tick run.
    void Restart(const QByteArray& config, const QStringList& arguments = {});
    // The text of a shell script that writes its folder and arguments into the file "started" of
    // the program folder, whole once it is there.
    QByteArray StandInUpdater() const;
    // Writes the stand-in updater into the program folder, runnable.
    void InstallStandInUpdater();
    // Waits until the stand-in has run, and returns what it wrote: "<folder> <arguments>".
    QByteArray StandInStarted();

    QTemporaryDir FServed;
    std::unique_ptr<LocalHttpServer> FServer;
};

// The same with a public key in the program folder: only descriptions that key signed count.
class SignedVersionCheckTest : public VersionCheckTest {
protected:
    void SetUp() override;
    // Publishes `text` as UpDate.dat with `pair`'s signature beside it.
    void PublishSigned(const QByteArray& text, const lanterna::testing::MinisignKeyPair& pair);
    void PublishSigned(const QByteArray& text) { PublishSigned(text, FPair); }
    QStringList ProgramFolder() const;

    lanterna::testing::MinisignKeyPair FPair;
};

} // namespace player::testing
