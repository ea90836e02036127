#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace lanterna {

bool ShellStart(const QString& program) {
    return QProcess::startDetached(program, {});
}

bool ShellOpen(const QString& urlOrPath) {
    QUrl url(urlOrPath);
    if (url.scheme().isEmpty())
        url = QUrl::fromLocalFile(urlOrPath);
    return QDesktopServices::openUrl(url);
}

} // namespace lanterna
