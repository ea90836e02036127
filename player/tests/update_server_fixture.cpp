#include "update_server_fixture.h"
#include "release/release_files.h"

#include "player/start_form.h"
#include "player/version_check.h"
#include "testing/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace player::testing {

void VersionCheckTest::SetUp() {
    PlayerTest::SetUp();
    ASSERT_TRUE(QDir(FServed.path()).mkdir(QStringLiteral("slideshow")));
    FServer = std::make_unique<LocalHttpServer>(FServed.path());
    ASSERT_FALSE(FServer->Url().isEmpty());
    qputenv("LANTERNA_UPDATE_SERVER", FServer->Url().toUtf8());
    WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nZjistitNovouVerziPriStartu=0\n");
    Start();
}

void VersionCheckTest::Publish(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(
        lanterna::testing::WriteFileBytes(FServed.filePath(QStringLiteral("slideshow/") + name), bytes));
}

void VersionCheckTest::SetServedTime(const QString& name, const QDateTime& time) {
    QFile file(FServed.filePath(QStringLiteral("slideshow/") + name));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

QByteArray VersionCheckTest::Served(const QString& name) const {
    return lanterna::testing::ReadFileBytes(FServed.filePath(QStringLiteral("slideshow/") + name));
}

void VersionCheckTest::Run() {
    Forms().Form1->Timer1Timer();
}

void VersionCheckTest::Restart(const QByteArray& config, const QStringList& arguments) {
    FProgram.reset();
    WriteFile(QStringLiteral("SlideShow.cfg"), config);
    Start(arguments);
    Run();
}

QByteArray VersionCheckTest::StandInUpdater() const {
    const QByteArray marker = PathOf(QStringLiteral("started")).toUtf8();
    return "#!/bin/sh\necho \"$(pwd -P) $*\" > '" + marker + ".part' && mv '" + marker + ".part' '" + marker +
           "'\n";
}

void VersionCheckTest::InstallStandInUpdater() {
    WriteFile(lanterna::UpdaterFileName(), StandInUpdater());
    QFile::setPermissions(PathOf(lanterna::UpdaterFileName()),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray VersionCheckTest::StandInStarted() {
    const QString marker = PathOf(QStringLiteral("started"));
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(marker); }, 10000))
        return "<not started>";
    return ReadFile(QStringLiteral("started")).trimmed();
}

void SignedVersionCheckTest::SetUp() {
    VersionCheckTest::SetUp();
    ASSERT_TRUE(FPair.Ready());
    WriteFile(QStringLiteral("UpDate.pub"), FPair.PublicKey());
    Run();
}

void SignedVersionCheckTest::PublishSigned(const QByteArray& text,
                                           const lanterna::testing::MinisignKeyPair& pair) {
    Publish(QStringLiteral("UpDate.dat"), text);
    ASSERT_TRUE(pair.Sign(FServed.filePath(QStringLiteral("slideshow/UpDate.dat"))));
}

QStringList SignedVersionCheckTest::ProgramFolder() const {
    return lanterna::testing::FilesIn(FDir.path());
}

} // namespace player::testing
