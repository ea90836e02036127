#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace lanterna {

bool ShellStart(const QString& program, const QString& workingDirectory) {
    return QProcess::startDetached(program, {}, workingDirectory);
}

bool ShellOpen(const QString& urlOrPath) {
    QUrl url(urlOrPath);
    if (url.scheme().isEmpty())
        url = QUrl::fromLocalFile(urlOrPath);
    return QDesktopServices::openUrl(url);
}

} // namespace lanterna
