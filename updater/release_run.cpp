#include "updater/release_run.h"

#include "platform/error_display.h"
#include "platform/types.h"
#include "release/installed_version.h"
#include "release/release_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

namespace updater {

using namespace lanterna;

namespace {

constexpr std::chrono::milliseconds kWatchInterval{250};

bool Alive(qint64 pid) {
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

} // namespace

TReleaseRun::TReleaseRun(QString folder, QString version, QObject* parent)
    : QObject(parent), FFolder(std::move(folder)), FVersion(std::move(version)), FRelease(FFolder) {
    FWatch.setInterval(kWatchInterval);
    connect(&FWatch, &QTimer::timeout, this, [this] { Watch(); });
}

QString TReleaseRun::Path(const QString& name) const {
    return QDir(FFolder).filePath(name);
}

bool TReleaseRun::Prepare(QString& error) {
    return FRelease.PrepareStaging(error);
}

void TReleaseRun::Abandon() {
    QDir(StagingFolder()).removeRecursively();
}

void TReleaseRun::Finish(const QStringList& names, std::function<void(bool, const QString&)> done) {
    FDone = std::move(done);
    const QString previous = InstalledVersion(FFolder);
    QString error;
    if (!FRelease.Apply(FVersion, previous, names, PlayerFileName(), error)) {
        FDone(false, error + QStringLiteral("; nothing was changed"));
        return;
    }
    RunGuarded([this] { RecordInstalledVersion(FFolder, FVersion); });
    if (!QFileInfo::exists(Path(PlayerFileName()))) {
        Keep();
        return;
    }
    QFile::remove(Path(QLatin1String(kHealthMarkFile)));
    if (!StartPlayer()) {
        RollBack(QStringLiteral("its player could not be started"));
        return;
    }
    FStarted = std::chrono::steady_clock::now();
    FWatch.start();
}

bool TReleaseRun::StartPlayer() {
    return QProcess::startDetached(Path(PlayerFileName()), {QStringLiteral("/AUTOSTART")}, FFolder, &FPlayer);
}

void TReleaseRun::Watch() {
    if (QFileInfo::exists(Path(QLatin1String(kHealthMarkFile)))) {
        FWatch.stop();
        Keep();
    } else if (!Alive(FPlayer)) {
        FWatch.stop();
        RollBack(QStringLiteral("its player ended before its show had run for 30 seconds"));
    } else if (std::chrono::steady_clock::now() - FStarted > FHealthLimit) {
        FWatch.stop();
        ::kill(pid_t(FPlayer), SIGKILL);
        RollBack(QStringLiteral("its player did not show its slides in time"));
    }
}

void TReleaseRun::Keep() {
    FRelease.Keep();
    FDone(true, QStringLiteral("Update is completed."));
}

void TReleaseRun::RollBack(const QString& why) {
    const QString previous = FRelease.Previous();
    QString error;
    if (!FRelease.RollBack(error)) {
        FDone(false, error);
        return;
    }
    RunGuarded([&] {
        RecordInstalledVersion(FFolder, previous);
        RecordFailedVersion(FFolder, FVersion);
    });
    if (QFileInfo::exists(Path(PlayerFileName())))
        StartPlayer();
    FDone(
        false,
        QStringLiteral("Version %1 was taken back: %2. Version %3 runs again.").arg(FVersion, why, previous));
}

} // namespace updater
