#include "slideshow/internal/picture_decoder.h"

#include "drawing/image_probe.h"
#include "platform/file_read.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTransform>

#include <algorithm>
#include <cstdint>

namespace lanterna {

namespace {

constexpr QImage::Format kBitmapFormat = QImage::Format_ARGB32_Premultiplied;

bool TooLargeToAllocate(QSize size) {
    return qint64(size.width()) * size.height() * 4 > kLargestDecodableBytes;
}

// An image reader over a device that leaves the orientation to Upright, the same way for every format.
void PrepareReader(QImageReader& reader, QIODevice& device) {
    reader.setDevice(&device);
    reader.setAutoTransform(false);
}

bool EveryPixelOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        if (!std::all_of(row, row + image.width(), [](std::uint32_t px) { return px >= 0xff000000u; }))
            return false;
    }
    return true;
}

QSize Transposed(QSize size) {
    return QSize(size.height(), size.width());
}

} // namespace

std::optional<TPictureSource> TPictureSource::File(const QString& fileName) {
    auto file = std::make_shared<TRegularFile>();
    if (!file->Open(fileName) || file->File().size() > kLargestPictureFileBytes)
        return std::nullopt;
    TPictureSource source;
    source.FFile = std::move(file);
    return source;
}

void TPictureSource::Read(const std::function<void(QIODevice& device)>& read) const {
    if (FFile) {
        FFile->File().seek(0);
        read(FFile->File());
        return;
    }
    QBuffer buffer;
    buffer.setData(FBytes);
    buffer.open(QIODevice::ReadOnly);
    read(buffer);
}

int PictureOrientation(const TPictureSource& source) {
    int orientation = 1;
    source.Read([&](QIODevice& device) { orientation = ProbeOrientation(device); });
    return orientation;
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

QSize PictureSize(const TPictureSource& source) {
    QSize size;
    source.Read([&](QIODevice& device) {
        QImageReader reader;
        PrepareReader(reader, device);
        size = reader.size();
        if (!size.isValid() && reader.canRead()) {
            // A format whose header does not tell its size: the decoder has to look.
            size = reader.read().size();
        }
    });
    if (!size.isValid() || size.isEmpty() || TooLargeToAllocate(size))
        return {};
    return OrientationSwapsSides(PictureOrientation(source)) ? Transposed(size) : size;
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

QSize DecodeSize(QSize natural, QSize bound, QSize drawn) {
    const QSize fit = FitWithin(natural, bound);
    if (drawn.isEmpty() || drawn.width() > fit.width() || drawn.height() > fit.height())
        return fit;
    return drawn;
}

QSize DrawnSize(const TGPRectF& r) {
    return {int(Round(r.Width)), int(Round(r.Height))};
}

QSize DrawnSizeFor(QSize laidOut, const TPictureLayout& layout, QSize natural) {
    if (!laidOut.isEmpty() || layout.Box.Width <= 0 || layout.Box.Height <= 0 || natural.isEmpty())
        return laidOut;
    const TSizeD fit = FittedSize(layout, natural);
    // Rounded as the layout's rectangle is, which holds floats.
    return DrawnSize(TGPRectF{0, 0, float(fit.Width), float(fit.Height)});
}

QImage DecodePicture(const TPictureSource& source, QSize natural, QSize target) {
    if (target.isEmpty() || natural.isEmpty())
        return {};
    // The reader scales the stored pixels, which lie on their side when the orientation says so.
    const int orientation = PictureOrientation(source);
    const bool swaps = OrientationSwapsSides(orientation);
    QImage image;
    source.Read([&](QIODevice& device) {
        QImageReader reader;
        PrepareReader(reader, device);
        if (target != natural)
            reader.setScaledSize(swaps ? Transposed(target) : target);
        image = reader.read();
    });
    if (image.isNull())
        return NewBitmap(target);
    image = Upright(image, orientation);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return DrawableBitmap(std::move(image));
}

QImage DrawableBitmap(QImage bitmap) {
    if (bitmap.isNull() || bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    // Converted in its own pixels where the formats allow, not into a second bitmap of the screen's size.
    bitmap.convertTo(kBitmapFormat);
    if (EveryPixelOpaque(bitmap))
        bitmap.reinterpretAsFormat(QImage::Format_RGB32);
    return bitmap;
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
