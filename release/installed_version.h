#pragma once
// The release installed in a program folder: recorded there once a signed set has been applied,
// so that an older release replayed by a server cannot take its place.

#include <QString>

namespace lanterna {

// The version of these programs as built.
QString ProgramVersion();

// The recorded version of the folder's release, or the programs' own version when none is
// recorded or it is the later one.
QString InstalledVersion(const QString& folder);

// Records `version` as the folder's release. Raises EInOutError when the record cannot be written.
void RecordInstalledVersion(const QString& folder, const QString& version);

// A release that was rolled back is never offered again (a later one is).
void RecordFailedVersion(const QString& folder, const QString& version);
bool IsFailedVersion(const QString& folder, const QString& version);

} // namespace lanterna
