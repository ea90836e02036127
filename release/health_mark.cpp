#include "release/health_mark.h"

#include "release/installed_version.h"
#include "release/release_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

namespace lanterna {

bool WriteHealthMark(const QString& folder) {
    QSaveFile mark(QDir(folder).filePath(QLatin1String(kHealthMarkFile)));
    if (!mark.open(QIODevice::WriteOnly))
        return false;
    mark.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' + ProgramVersion().toUtf8() +
               '\n');
    return mark.commit();
}

} // namespace lanterna
