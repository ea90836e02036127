#include "release/trusted_description.h"

#include "platform/file_read.h"
#include "platform/ini_text.h"
#include "release/release_files.h"
#include "release/version_number.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lanterna {

namespace {

const QString kSection = QStringLiteral("UPDATE");
constexpr int kMaxValueLength = 2047;

} // namespace

TTrust ReadTrust(const QString& folder) {
    TTrust trust;
    const QString path = QDir(folder).filePath(QLatin1String(kPublicKeyFile));
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return trust;
    const std::optional<QByteArray> text = ReadRegularFile(path, kMaxMinisignKeyBytes);
    QString error = QStringLiteral("The file cannot be read");
    if (text)
        trust.Key = ParseMinisignKey(*text, error);
    if (!trust.Key)
        trust.Error = path + QStringLiteral(": ") + error;
    return trust;
}

QDateTime ParseExpiry(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"));
    if (!pattern.match(text).hasMatch())
        return {};
    return QDateTime::fromString(text, Qt::ISODate);
}

QString CheckDescription(const TTrust& trust, const QByteArray& description, const QByteArray& signature,
                         const QDateTime& now) {
    if (!trust.Signed())
        return {};
    if (!trust.Key)
        return trust.Error;
    if (signature.isEmpty())
        return QStringLiteral("The update description is not signed");
    QString error;
    const std::optional<TMinisignSignature> parsed = ParseMinisignSignature(signature, error);
    if (!parsed)
        return error;
    error = VerifyMinisign(*trust.Key, *parsed, description);
    if (!error.isEmpty())
        return QStringLiteral("The update description's signature is not valid: ") + error;
    const TIniText text(description);
    const QString expires = text.Lookup(kSection, QStringLiteral("Expires"), kMaxValueLength);
    if (!expires.isNull()) {
        const QDateTime expiry = ParseExpiry(expires);
        if (!expiry.isValid())
            return QStringLiteral("The update description's expiry is no moment: ") + expires;
        if (expiry <= now)
            return QStringLiteral("The update description expired at ") + expires;
    }
    const QString version = text.Lookup(kSection, QStringLiteral("Ver"), kMaxValueLength);
    if (!IsVersion(version))
        return QStringLiteral("The update description names no version");
    return {};
}

} // namespace lanterna
