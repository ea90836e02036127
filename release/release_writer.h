#pragma once
// Writing the update description of a release: every regular file of a folder, with its address,
// size and SHA-256, as a signed description lists them.

#include <QString>

namespace lanterna {

struct TReleaseInfo {
    QString Version; // dotted numbers
    QString ProductName;
    QString BaseUrl; // where the folder's files are published
    QString Expires; // optional: "YYYY-MM-DDTHH:MM:SSZ"
};

// Writes `folder`/UpDate.dat for the files of `folder`, sorted by name; the sign's own files are
// never listed. Returns the number of files listed, or -1 with the reason in `error`.
int WriteReleaseDescription(const QString& folder, const TReleaseInfo& info, QString& error);

} // namespace lanterna
