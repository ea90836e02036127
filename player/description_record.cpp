#include "player/description_record.h"

#include "platform/file_read.h"
#include "release/release_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>

#include <optional>

namespace player {

namespace {

// The record: the SHA-256 of the UpDate.dat it belongs to, the ETag and Last-Modified, a line each.
constexpr qint64 kMaxRecordBytes = 4096;

QString RecordFile(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(lanterna::kValidatorsFile));
}

std::optional<QByteArray> DescriptionHash(const QString& folder) {
    const std::optional<QByteArray> description = lanterna::ReadRegularFile(
        QDir(folder).filePath(QLatin1String(lanterna::kDescriptionFile)), kDescriptionDownload.MaxBytes);
    if (!description)
        return std::nullopt;
    return QCryptographicHash::hash(*description, QCryptographicHash::Sha256).toHex();
}

} // namespace

THttpValidators KnownValidators(const QString& folder) {
    const QList<QByteArray> lines =
        lanterna::ReadRegularFile(RecordFile(folder), kMaxRecordBytes).value_or(QByteArray()).split('\n');
    if (lines.size() < 3 || lines[0] != DescriptionHash(folder))
        return {};
    return {lines[1], lines[2]};
}

void RememberValidators(const QString& folder, const THttpValidators& validators) {
    const std::optional<QByteArray> hash = DescriptionHash(folder);
    QSaveFile record(RecordFile(folder));
    if (hash && record.open(QIODevice::WriteOnly)) {
        record.write(*hash + '\n' + validators.ETag + '\n' + validators.LastModified + '\n');
        record.commit();
    }
}

} // namespace player
