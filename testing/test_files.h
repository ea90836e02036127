#pragma once
// Whole-file reads and writes for tests.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lanterna::testing {

// The file's bytes; empty when it cannot be read.
QByteArray ReadFileBytes(const QString& path);
// Replaces the file with `bytes`, making its folder where missing; false when it cannot be written.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
// Every name in `folder`, hidden ones too: a temporary file left behind shows here.
QStringList FilesIn(const QString& folder);

} // namespace lanterna::testing
