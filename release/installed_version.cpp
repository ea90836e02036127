#include "release/installed_version.h"

#include "platform/profile.h"
#include "release/release_files.h"
#include "release/version_number.h"

#include <QDir>

namespace lanterna {

namespace {

const QString kSection = QStringLiteral("RELEASE");
const QString kInstalledKey = QStringLiteral("Installed");

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

} // namespace lanterna
