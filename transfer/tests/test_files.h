#pragma once
// Reading and writing whole files in the engine's tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace lanterna::testing {

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every name in `folder`, hidden ones too: a temporary file left behind shows here.
inline QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace lanterna::testing
