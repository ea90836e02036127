#include "slideshow/internal/file_preview.h"

#include "slideshow/internal/picture_decoder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QUrl>

namespace lanterna {

namespace {

// The freedesktop thumbnail cache keeps thumbnails under the MD5 of the file's URI, the largest
// kind first.
QImage CachedThumbnail(const QString& fileName) {
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()).toEncoded();
    const QString name = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
                         QStringLiteral(".png");
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    for (const char* kind : {"xx-large", "x-large", "large", "normal"}) {
        const QImage image(
            QDir(cache).filePath(QStringLiteral("thumbnails/%1/%2").arg(QLatin1String(kind), name)));
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace

QImage GetFileThumbnail(const QString& fileName, int width, int height, QString& error) {
    error.clear();
    QImageReader reader(fileName);
    // A photo's preview stands upright like its slide; the reader scales the stored pixels and
    // turns them after, so the preview still fits the square box.
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) {
        reader.setScaledSize(FitWithin(size, QSize(width, height)));
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    QImage cached = CachedThumbnail(fileName);
    if (cached.isNull()) {
        error = QStringLiteral("Thumbnail not available for this file type");
        return {};
    }
    const QSize fit = FitWithin(cached.size(), QSize(width, height));
    return fit == cached.size() ? cached
                                : cached.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace lanterna
