#include "player/version_check.h"

#include "drawing/gradient_label.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "player/start_form.h"
#include "player/typy.h"

#include <QFile>
#include <QFileInfo>

namespace player {

using namespace lanterna;

namespace {

QString DescriptionFile(const TForm1& form1) {
    return form1.SystemDirectory + QStringLiteral("/UpDate.dat");
}

void FetchDescription(const TForm1& form1) {
    StahnoutSoubor(UpdateServer(form1) + QStringLiteral("/slideshow/UpDate.dat"), DescriptionFile(form1));
}

} // namespace

QString UpdateServer(const TForm1& form1) {
    QString server = qEnvironmentVariable("LANTERNA_UPDATE_SERVER");
    if (server.isEmpty())
        server = form1.ConfiguredUpdateServer;
    if (server.isEmpty())
        return QStringLiteral("http://update.kelvra.example");
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1); // the paths below start with their own "/"
    return server;
}

QString UpdaterFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("UpDate.exe");
#else
    return QStringLiteral("UpDate");
#endif
}

void CheckForNewVersion(TForm1& form1) {
    const QString own = form1.Verze->Caption().Text();
    FetchDescription(form1);
    const QString published =
        TIniFile(DescriptionFile(form1)).ReadString(QStringLiteral("UPDATE"), QStringLiteral("Ver"), own);
    if (published != own) {
        if (CurrentDialogs().Confirm(QStringLiteral("Je k dispozici nová verze. Chcete aktualizovat nyní?")))
            HandOverToUpdater(form1);
    } else if (form1.StavSystemu == QStringLiteral("RUN")) {
        CurrentDialogs().Information(QStringLiteral("Verze je aktuální."));
    }
}

void HandOverToUpdater(TForm1& form1) {
    FetchDescription(form1);
    const QString updater = form1.SystemDirectory + QLatin1Char('/') + UpdaterFileName();
    if (QFileInfo::exists(updater)) {
        // The updater works in its current directory, which must be the folder that now holds the
        // fresh UpDate.dat, wherever the player itself was started from. A failed start is not
        // reported: the player closes all the same.
        ShellStart(updater, form1.SystemDirectory);
        form1.close();
        return;
    }
    if (!CurrentDialogs().Confirm(
            QStringLiteral("Soubor %1 nebyl nalezen. Mám jej stáhnout ze serveru?").arg(updater)))
        return;
    StahnoutSoubor(UpdateServer(form1) + QStringLiteral("/slideshow/") + UpdaterFileName(), updater,
                   kUpdaterDownload);
    QFile::setPermissions(updater,
                          QFile::permissions(updater) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    CurrentDialogs().Information(QStringLiteral("Soubor byl stažen."));
}

} // namespace player
