#include "updater/update_description.h"

#include "platform/file_read.h"
#include "platform/ini_text.h"
#include "platform/numbers.h"
#include "release/installed_version.h"
#include "release/minisign.h"
#include "release/version_number.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace updater {

using namespace lanterna;

namespace {

const QString kSection = QStringLiteral("UPDATE");
constexpr int kMaxValueLength = 2047;

QString Value(const TIniText& text, const QString& key, const QString& fallback = QString()) {
    const QString value = text.Lookup(kSection, key, kMaxValueLength);
    return value.isNull() ? fallback : value;
}

// Why a signed description may not be used in the folder of `fileName`; empty when it may.
QString CheckSigned(const QString& fileName, const QByteArray& bytes, const TTrust& trust) {
    const std::optional<QByteArray> signature =
        ReadRegularFile(fileName + QStringLiteral(".minisig"), kMaxMinisignSignatureBytes);
    const QString error = CheckDescription(trust, bytes, signature.value_or(QByteArray()));
    if (!error.isEmpty())
        return error;
    const QString version = Value(TIniText(bytes), QStringLiteral("Ver"));
    const QString installed = InstalledVersion(QFileInfo(fileName).absolutePath());
    if (!IsNewerVersion(version, installed))
        return QStringLiteral("Version %1 is not newer than the installed version %2")
            .arg(version, installed);
    if (IsFailedVersion(QFileInfo(fileName).absolutePath(), version))
        return QStringLiteral("Version %1 was taken back before and is not installed again").arg(version);
    return {};
}

void ReadEntries(const TIniText& text, int maxFiles, TUpdateDescription& description) {
    description.Version = Value(text, QStringLiteral("Ver"));
    description.ProductName =
        Value(text, QStringLiteral("ProductName"), QString::fromLatin1(TUpdateDescription::kNoProduct));
    const int count = std::clamp(StrToIntDef(Value(text, QStringLiteral("Files")), 0), 0, maxFiles);
    description.Files.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString url = Value(text, FileKey(i));
        description.Files << url;
        if (const std::optional<TFileCheck> check = ListedFileCheck(text, i); check && !url.isEmpty())
            description.Checks.insert(url, *check);
    }
}

} // namespace

TTrust UpdaterTrust(const QString& folder) {
    const TTrust trust = ReadTrust(folder);
    return trust.Signed() ? trust : ReadTrust(QCoreApplication::applicationDirPath());
}

TUpdateDescription ReadUpdateDescription(const QString& fileName, int maxFiles, const TTrust& trust) {
    TUpdateDescription description;
    description.Signed = trust.Signed();
    const QFileInfo file(fileName);
    if (!file.exists()) {
        description.Error = QStringLiteral("File ") + fileName + QStringLiteral(" NOT found!");
        return description;
    }
    const std::optional<QByteArray> bytes = ReadRegularFile(fileName, TUpdateDescription::kMaxFileSize);
    if (!bytes) {
        description.Error = file.size() > TUpdateDescription::kMaxFileSize
                                ? QStringLiteral("File ") + fileName + QStringLiteral(" is larger than 1 MB!")
                                : QStringLiteral("File ") + fileName + QStringLiteral(" cannot be read!");
        return description;
    }
    if (description.Signed) {
        description.Untrusted = CheckSigned(fileName, *bytes, trust);
        if (!description.Untrusted.isEmpty())
            return description;
    }
    ReadEntries(TIniText(*bytes), maxFiles, description);
    return description;
}

} // namespace updater
