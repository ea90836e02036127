#pragma once
// The signed release's part of an updater run: the folder's lock, the staging folder its files are
// fetched into, the one apply once every file is there, and the watch over the restarted player
// that keeps the new set when the player proves healthy or puts the old one back.

#include "release/release_apply.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>

namespace updater {

class TReleaseRun final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReleaseRun)

public:
    // How long a restarted player has to open its show and keep it for 30 s.
    static constexpr std::chrono::seconds kHealthLimit{100};

    // `folder` is the program folder, `version` the release's.
    TReleaseRun(QString folder, QString version, QObject* parent = nullptr);

    // Empties and makes the staging folder the files are fetched into.
    bool Prepare(QString& error);
    QString StagingFolder() const { return FRelease.StagingFolder(); }

    // Applies the staged `names`; when the folder holds a player, starts it with "/AUTOSTART" and
    // watches it. `done` gets whether the new set stays and the text that says what happened.
    void Finish(const QStringList& names, std::function<void(bool kept, const QString& text)> done);

    // A run that ends before its files are all there leaves nothing in the folder.
    void Abandon();

    void SetHealthLimit(std::chrono::milliseconds limit) { FHealthLimit = limit; }

private:
    QString Path(const QString& name) const;
    void Watch();
    void Keep();
    void RollBack(const QString& why);
    bool StartPlayer();

    QString FFolder;
    QString FVersion;
    lanterna::TReleaseFolder FRelease;
    std::function<void(bool, const QString&)> FDone;
    QTimer FWatch;
    std::chrono::milliseconds FHealthLimit = kHealthLimit;
    std::chrono::steady_clock::time_point FStarted;
    qint64 FPlayer = 0;
};

} // namespace updater
