#include "slideshow/internal/picture_decoder.h"

#include "drawing/image_probe.h"
#include "platform/file_read.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTransform>

namespace lanterna {

namespace {

constexpr QImage::Format kBitmapFormat = QImage::Format_ARGB32_Premultiplied;

bool TooLargeToAllocate(QSize size) {
    return qint64(size.width()) * size.height() * 4 > kLargestDecodableBytes;
}

// An image reader over bytes in memory.
class TBytesReader {
public:
    explicit TBytesReader(const QByteArray& bytes) {
        FBuffer.setData(bytes);
        FBuffer.open(QIODevice::ReadOnly);
        FReader.setDevice(&FBuffer);
        // The orientation is applied by Upright, the same way for every format.
        FReader.setAutoTransform(false);
    }
    QImageReader* operator->() { return &FReader; }

private:
    QBuffer FBuffer;
    QImageReader FReader;
};

QSize Transposed(QSize size) {
    return QSize(size.height(), size.width());
}

} // namespace

int PictureOrientation(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ProbeOrientation(buffer);
}

QImage Upright(const QImage& stored, int orientation) {
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5:
        return stored.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return stored.transformed(QTransform().rotate(90));
    case 7:
        return stored.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return stored.transformed(QTransform().rotate(270));
    default:
        return stored;
    }
}

QSize PictureSize(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    TBytesReader reader(bytes);
    QSize size = reader->size();
    if (!size.isValid() && reader->canRead()) {
        // A format whose header does not tell its size: the decoder has to look.
        const QImage image = reader->read();
        size = image.size();
    }
    if (!size.isValid() || size.isEmpty() || TooLargeToAllocate(size))
        return {};
    return OrientationSwapsSides(PictureOrientation(bytes)) ? Transposed(size) : size;
}

QSize FitWithin(QSize size, QSize bound) {
    if (size.isEmpty() || bound.isEmpty() ||
        (size.width() <= bound.width() && size.height() <= bound.height()))
        return size;
    return size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage NewBitmap(QSize size) {
    if (size.isEmpty())
        return {};
    QImage bitmap(size, kBitmapFormat);
    bitmap.fill(Qt::transparent);
    return bitmap;
}

QImage DecodePicture(const QByteArray& bytes, QSize natural, QSize bound) {
    const QSize target = FitWithin(natural, bound);
    if (target.isEmpty())
        return {};
    // The reader scales the stored pixels, which lie on their side when the orientation says so.
    const int orientation = PictureOrientation(bytes);
    const bool swaps = OrientationSwapsSides(orientation);
    TBytesReader reader(bytes);
    if (target != natural)
        reader->setScaledSize(swaps ? Transposed(target) : target);
    QImage image = reader->read();
    if (image.isNull())
        return NewBitmap(target);
    image = Upright(image, orientation);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Converted in its own pixels where the formats allow (an opaque picture does), not into a second
    // bitmap of the screen's size.
    return std::move(image).convertToFormat(kBitmapFormat);
}

QImage ScaledBitmap(const QImage& picture, QSize size) {
    if (picture.isNull() || size.isEmpty())
        return {};
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(kBitmapFormat);
}

QByteArray EncodeBitmap(const QImage& bitmap, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(bitmap))
        return {};
    return bytes;
}

std::optional<QByteArray> ReadWholeFile(const QString& fileName) {
    return ReadRegularFile(fileName, kLargestPictureFileBytes);
}

} // namespace lanterna
