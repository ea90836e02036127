#include "release/release_writer.h"

#include "release/release_files.h"
#include "release/trusted_description.h"
#include "release/version_number.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <optional>

namespace lanterna {

namespace {

constexpr qint64 kReadBlock = 1024 * 1024;

struct TListedFile {
    QString Name;
    qint64 Size = 0;
    QByteArray Sha256;
};

std::optional<TListedFile> Describe(const QFileInfo& file, QString& error) {
    QFile input(file.absoluteFilePath());
    if (!input.open(QIODevice::ReadOnly)) {
        error = file.absoluteFilePath() + QStringLiteral(": ") + input.errorString();
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    for (QByteArray block; !(block = input.read(kReadBlock)).isEmpty();) {
        hash.addData(block);
        size += block.size();
    }
    if (input.error() != QFileDevice::NoError) {
        error = file.absoluteFilePath() + QStringLiteral(": ") + input.errorString();
        return std::nullopt;
    }
    return TListedFile{file.fileName(), size, hash.result().toHex()};
}

QString CheckInfo(const TReleaseInfo& info) {
    if (!IsVersion(info.Version))
        return QStringLiteral("The version must be dotted numbers, such as 1.3: ") + info.Version;
    if (info.ProductName.trimmed().isEmpty() || info.ProductName.contains(QLatin1Char('\n')) ||
        info.ProductName.contains(QLatin1Char('\r')))
        return QStringLiteral("The product name must be one line of text");
    const QUrl base(info.BaseUrl, QUrl::StrictMode);
    if (!base.isValid() ||
        (base.scheme() != QLatin1String("http") && base.scheme() != QLatin1String("https")) ||
        base.host().isEmpty())
        return QStringLiteral("The base URL must be an http or https address: ") + info.BaseUrl;
    if (!info.Expires.isEmpty() && !ParseExpiry(info.Expires).isValid())
        return QStringLiteral("The expiry must be written YYYY-MM-DDTHH:MM:SSZ: ") + info.Expires;
    return {};
}

QByteArray DescriptionText(const TReleaseInfo& info, const QList<TListedFile>& files) {
    QString base = info.BaseUrl;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    QStringList lines = {QStringLiteral("[UPDATE]"), QStringLiteral("Ver=") + info.Version,
                         QStringLiteral("ProductName=") + info.ProductName.trimmed()};
    if (!info.Expires.isEmpty())
        lines << QStringLiteral("Expires=") + info.Expires;
    lines << QStringLiteral("Files=%1").arg(files.size());
    for (int i = 1; i <= files.size(); ++i) {
        const TListedFile& file = files[i - 1];
        lines << FileKey(i) + u'=' + base + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(file.Name))
              << FileSizeKey(i) + u'=' + QString::number(file.Size)
              << FileHashKey(i) + u'=' + QString::fromLatin1(file.Sha256);
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}

} // namespace

int WriteReleaseDescription(const QString& folder, const TReleaseInfo& info, QString& error) {
    error = CheckInfo(info);
    if (!error.isEmpty())
        return -1;
    const QDir dir(folder);
    if (!dir.exists()) {
        error = QStringLiteral("No such folder: ") + folder;
        return -1;
    }
    QList<TListedFile> files;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (IsSignOwnFile(file.fileName()))
            continue;
        const std::optional<TListedFile> listed = Describe(file, error);
        if (!listed)
            return -1;
        files << *listed;
    }
    QSaveFile output(dir.filePath(QLatin1String(kDescriptionFile)));
    if (!output.open(QIODevice::WriteOnly) || output.write(DescriptionText(info, files)) < 0 ||
        !output.commit()) {
        error = output.fileName() + QStringLiteral(": ") + output.errorString();
        return -1;
    }
    return int(files.size());
}

} // namespace lanterna
