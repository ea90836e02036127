#pragma once
// Whole-file reads and writes for tests.

#include <QByteArray>
#include <QString>

namespace lanterna::testing {

// The file's bytes; empty when it cannot be read.
QByteArray ReadFileBytes(const QString& path);
// Replaces the file with `bytes`; false when it cannot be written.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

} // namespace lanterna::testing
