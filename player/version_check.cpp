#include "player/version_check.h"

#include "drawing/gradient_label.h"
#include "platform/dialogs.h"
#include "platform/file_read.h"
#include "platform/ini_text.h"
#include "platform/numbers.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "player/description_record.h"
#include "player/start_form.h"
#include "player/typy.h"
#include "release/installed_version.h"
#include "release/release_files.h"
#include "release/trusted_description.h"
#include "release/version_number.h"
#include "transfer/url_functions.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cstdio>

namespace player {

using namespace lanterna;

namespace {

QString DescriptionFile(const TForm1& form1) {
    return form1.SystemDirectory + QStringLiteral("/UpDate.dat");
}

// The updater's list window takes no more files than this.
constexpr int kMaxListedFiles = 999;
// A check while the show runs freezes it for as long as it takes: a shorter bound than a person's.
constexpr long kBackgroundCheckSeconds = 20;

bool ReplaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString DescriptionUrl(const TForm1& form1) {
    return UpdateServer(form1) + QStringLiteral("/slideshow/UpDate.dat");
}

// Raises with the reason unless `description` and `signature` make a pair that `trust` accepts.
void CheckPair(const TForm1& form1, const TTrust& trust, const QString& description,
               const QString& signature) {
    const QString error =
        CheckDescription(trust, ReadRegularFile(description, kDescriptionDownload.MaxBytes).value_or(""),
                         ReadRegularFile(signature, kMaxMinisignSignatureBytes).value_or(""));
    if (!error.isEmpty())
        throw Exception(DescriptionUrl(form1) + QStringLiteral(": ") + error);
}

// Fetches UpDate.dat and its signature beside the local pair, and puts the two in its place only
// when they verify under `trust`; raises with the reason otherwise, the local pair kept. With
// `ifChanged`, the server is asked first whether UpDate.dat changed since the local copy came:
// when not, the local pair stands, checked again since it may have expired meanwhile.
void FetchSignedDescription(const TForm1& form1, const TTrust& trust,
                            long seconds = kDescriptionDownload.OverallSeconds, bool ifChanged = false) {
    const QString description = DescriptionFile(form1);
    const QString signature = description + QStringLiteral(".minisig");
    const QString suffix = QStringLiteral(".download");
    const auto removeFetched = qScopeGuard([&] {
        QFile::remove(description + suffix);
        QFile::remove(signature + suffix);
    });
    THttpValidators validators = ifChanged ? KnownValidators(form1.SystemDirectory) : THttpValidators();
    if (!StahnoutSoubor(DescriptionUrl(form1), description + suffix, {kDescriptionDownload.MaxBytes, seconds},
                        &validators)) {
        CheckPair(form1, trust, description, signature);
        return;
    }
    StahnoutSoubor(DescriptionUrl(form1) + QStringLiteral(".minisig"), signature + suffix,
                   {kMaxMinisignSignatureBytes, seconds});
    CheckPair(form1, trust, description + suffix, signature + suffix);
    // The signature goes first: a pair cut short between the two renames fails the updater's check.
    if (!ReplaceFile(signature + suffix, signature) || !ReplaceFile(description + suffix, description))
        throw Exception(QStringLiteral("Cannot create file \"%1\".").arg(description));
    RememberValidators(form1.SystemDirectory, validators);
}

// The size and hash the (verified) local description lists for the updater's file.
TFileCheck ListedUpdater(const TForm1& form1) {
    const TIniText text(ReadRegularFile(DescriptionFile(form1), kDescriptionDownload.MaxBytes).value_or(""));
    const int count = StrToIntDef(text.Lookup(QStringLiteral("UPDATE"), QStringLiteral("Files"), 2047), 0);
    for (int i = 1; i <= std::min(count, kMaxListedFiles); ++i) {
        const QString listed = text.Lookup(QStringLiteral("UPDATE"), FileKey(i), 2047);
        if (LastSegment(listed) == UpdaterFileName())
            if (const std::optional<TFileCheck> check = ListedFileCheck(text, i))
                return *check;
    }
    throw Exception(QStringLiteral("The signed update description lists no %1 with its size and SHA-256")
                        .arg(UpdaterFileName()));
}

// Fetches the updater from `url` into `updater` only when it is the file the signed description
// lists.
void FetchListedUpdater(const TForm1& form1, const QString& url, const QString& updater) {
    const TFileCheck check = ListedUpdater(form1);
    const TExpectedBody expected{check.Size, check.SHA256};
    StahnoutSoubor(url, updater, kUpdaterDownload, nullptr, &expected);
}

// Fetches the description; with a key in the program folder, only a verified pair replaces the
// local one.
void FetchDescription(const TForm1& form1, const TTrust& trust) {
    if (trust.Signed())
        FetchSignedDescription(form1, trust);
    else
        StahnoutSoubor(DescriptionUrl(form1), DescriptionFile(form1));
}

QString PublishedVersion(const TForm1& form1, const QString& own) {
    return TIniFile(DescriptionFile(form1)).ReadString(QStringLiteral("UPDATE"), QStringLiteral("Ver"), own);
}

// Whether the published version is one to offer: any other version, or with a key only a version
// newer than the installed release that was never taken back.
bool Offered(const TForm1& form1, const TTrust& trust) {
    const QString own = form1.Verze->Caption().Text();
    const QString published = PublishedVersion(form1, own);
    if (trust.Signed())
        return IsNewerVersion(published, InstalledVersion(form1.SystemDirectory)) &&
               !IsFailedVersion(form1.SystemDirectory, published);
    return published != own;
}

void SayCurrent(const TForm1& form1) {
    if (form1.StavSystemu == QStringLiteral("RUN"))
        CurrentDialogs().Information(QStringLiteral("Verze je aktuální."));
}

// Whether releases are applied without asking: only signed ones may be.
bool Unattended(const TForm1& form1, const TTrust& trust) {
    return form1.ConfiguredAutoUpdate && trust.Signed();
}

bool AskToUpdate(const TForm1& form1) {
    const QString question = QStringLiteral("Je k dispozici nová verze. Chcete aktualizovat nyní?");
    // At an unattended start no one may be there to answer: the show must open all the same.
    if (form1.StavSystemu == QStringLiteral("START") && form1.AutoStarted())
        return CurrentDialogs().ConfirmWithin(question, form1.AutostartQuestionLimit);
    return CurrentDialogs().Confirm(question);
}

QString UpdaterPath(const TForm1& form1) {
    return form1.SystemDirectory + QLatin1Char('/') + UpdaterFileName();
}

// Fetches the missing updater from the update server; with a key, only the file the signed
// description lists.
void FetchUpdater(const TForm1& form1, const TTrust& trust) {
    const QString updater = UpdaterPath(form1);
    const QString url = UpdateServer(form1) + QStringLiteral("/slideshow/") + UpdaterFileName();
    if (trust.Signed())
        FetchListedUpdater(form1, url, updater);
    else
        StahnoutSoubor(url, updater, kUpdaterDownload);
    QFile::setPermissions(updater,
                          QFile::permissions(updater) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

// Starts the updater, fetched first when it is missing, to apply the release by itself, and ends
// the player. The show goes on when the updater cannot be started: no one would start it again.
void StartUnattendedUpdate(TForm1& form1, const TTrust& trust) {
    const QString updater = UpdaterPath(form1);
    if (!QFileInfo::exists(updater))
        FetchUpdater(form1, trust);
    if (!ShellStart(updater, form1.SystemDirectory, {QStringLiteral("AUTO")}))
        throw Exception(QStringLiteral("Cannot start \"%1\".").arg(updater));
    form1.close();
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

void CheckForNewVersion(TForm1& form1) {
    const TTrust trust = ReadTrust(form1.SystemDirectory);
    FetchDescription(form1, trust);
    if (!Offered(form1, trust))
        SayCurrent(form1);
    else if (Unattended(form1, trust))
        StartUnattendedUpdate(form1, trust);
    else if (AskToUpdate(form1))
        HandOverToUpdater(form1);
}

void CheckInBackground(TForm1& form1) {
    try {
        const TTrust trust = ReadTrust(form1.SystemDirectory);
        if (!Unattended(form1, trust))
            return;
        FetchSignedDescription(form1, trust, kBackgroundCheckSeconds, true);
        if (Offered(form1, trust))
            StartUnattendedUpdate(form1, trust);
    } catch (const std::exception&) {
        // No box stands over a running sign, and none piles up day after day: the next check
        // tries again.
    }
}

void HandOverToUpdater(TForm1& form1) {
    const TTrust trust = ReadTrust(form1.SystemDirectory);
    FetchDescription(form1, trust);
    // The updater refuses a signed release that is not newer; the sign keeps its show instead.
    if (trust.Signed() && !Offered(form1, trust)) {
        SayCurrent(form1);
        return;
    }
    const QString updater = UpdaterPath(form1);
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
    FetchUpdater(form1, trust);
    CurrentDialogs().Information(QStringLiteral("Soubor byl stažen."));
}

} // namespace player
