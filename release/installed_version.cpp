#include "release/installed_version.h"

#include "platform/profile.h"
#include "release/release_files.h"
#include "release/version_number.h"

#include <QDir>
#include <QStringList>

namespace lanterna {

namespace {

const QString kSection = QStringLiteral("RELEASE");
const QString kInstalledKey = QStringLiteral("Installed");
const QString kFailedKey = QStringLiteral("Failed");
// The record keeps the latest failed versions only; older ones are older than what runs anyway.
constexpr qsizetype kMaxFailed = 16;

TIniFile StateFile(const QString& folder) {
    return TIniFile(QDir(folder).filePath(QLatin1String(kReleaseStateFile)));
}

} // namespace

QString ProgramVersion() {
    return QStringLiteral(LANTERNA_VERSION);
}

QString InstalledVersion(const QString& folder) {
    // A program put in place by hand may be later than the last release recorded.
    const QString recorded = StateFile(folder).ReadString(kSection, kInstalledKey, QString());
    return IsNewerVersion(recorded, ProgramVersion()) ? recorded : ProgramVersion();
}

void RecordInstalledVersion(const QString& folder, const QString& version) {
    StateFile(folder).WriteString(kSection, kInstalledKey, version);
}

void RecordFailedVersion(const QString& folder, const QString& version) {
    TIniFile state = StateFile(folder);
    QStringList failed = state.ReadString(kSection, kFailedKey, QString()).split(u',', Qt::SkipEmptyParts);
    if (failed.contains(version))
        return;
    failed << version;
    state.WriteString(kSection, kFailedKey,
                      failed.mid(qMax<qsizetype>(0, failed.size() - kMaxFailed)).join(u','));
}

bool IsFailedVersion(const QString& folder, const QString& version) {
    return StateFile(folder).ReadString(kSection, kFailedKey, QString()).split(u',').contains(version);
}

} // namespace lanterna
