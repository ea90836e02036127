#include "platform/shell.h"

#include "platform/dialogs.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace lanterna {

bool ShellStart(const QString& program, const QString& workingDirectory, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

bool ShellOpen(const QString& urlOrPath) {
    if (const QString log = qEnvironmentVariable(kUnattendedVariable); !log.isEmpty()) {
        AppendToLog(log, QStringLiteral("Open: ") + urlOrPath);
        return true;
    }
    QUrl url(urlOrPath);
    if (url.scheme().isEmpty())
        url = QUrl::fromLocalFile(urlOrPath);
    return QDesktopServices::openUrl(url);
}

} // namespace lanterna
