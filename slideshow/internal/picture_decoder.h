#pragma once
// Decoding of picture bytes into bitmaps that are never larger than where they can be shown.

#include "drawing/gp_image.h"
#include "drawing/gp_picture.h"
#include "platform/types.h"
#include "slideshow/internal/aspect_fit.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace lanterna {

// A picture whose full-size 32-bit bitmap would need more than the drawing layer decodes is treated
// as not decodable: no size, no bitmap.
inline constexpr qint64 kLargestDecodableBytes = TGPImage::kMaxDecodeBytes;
inline constexpr qint64 kLargestPictureFileBytes = kMaxPictureFileBytes;

// Where a picture's bytes are: in memory, or in a regular file of at most kLargestPictureFileBytes that is
// read as it is decoded, so that the file is never held whole beside the pictures made of it. The file
// is opened once and read from its start for each look (its size, its orientation, its pixels).
class TRegularFile;

class TPictureSource {
public:
    // Bytes in memory (implicitly, so that bytes can be passed wherever a source is taken).
    TPictureSource(QByteArray bytes = {}) : FBytes(std::move(bytes)) {}
    // The file when it is a regular file within the limit; nothing for anything else, without blocking
    // on FIFOs or devices.
    static std::optional<TPictureSource> File(const QString& fileName);
    // Runs `read` on a device at the start of the bytes.
    void Read(const std::function<void(QIODevice& device)>& read) const;

private:
    QByteArray FBytes;
    std::shared_ptr<TRegularFile> FFile;
};

// The picture's own pixel size as its header tells it, upright (a picture whose orientation tag
// stands it on its side has its sides swapped); 0 x 0 when the bytes hold no picture the decoders
// know, or one too large to allocate.
QSize PictureSize(const TPictureSource& source);

// The orientation the picture's header gives (1 .. 8, see ProbeOrientation).
int PictureOrientation(const TPictureSource& source);
// The stored pixels turned and mirrored as `orientation` says, so that the picture stands upright.
QImage Upright(const QImage& stored, int orientation);

// `size` scaled down, keeping its proportions, until it fits into `bound` (never scaled up).
QSize FitWithin(QSize size, QSize bound);

// The size a picture of `natural` size is decoded at: the size it is drawn at (`drawn`, empty while the
// layout is not known) when that fits into FitWithin(natural, bound), else FitWithin(natural, bound).
// A picture decoded at the size it is drawn at needs no scaled copy beside it.
QSize DecodeSize(QSize natural, QSize bound, QSize drawn = {});

// The whole pixels a picture drawn into r covers.
QSize DrawnSize(const TGPRectF& r);

// The size a picture of `natural` size is drawn at: `laidOut` once the control has laid the slide out,
// else as `layout` will lay it out; empty when neither is known.
QSize DrawnSizeFor(QSize laidOut, const TPictureLayout& layout, QSize natural);

// The picture decoded upright at exactly `size`; `natural` is the upright size PictureSize gives. The
// bitmap is a drawable one (DrawableBitmap). When the bytes are sized but cannot be decoded, the bitmap
// has that size and is fully transparent.
QImage DecodePicture(const TPictureSource& source, QSize natural, QSize size);

// The bitmap premultiplied, or RGB32 when every pixel is opaque: an opaque picture is then copied to
// the screen instead of blended pixel by pixel.
QImage DrawableBitmap(QImage bitmap);

// A transparent 32-bit bitmap with alpha.
QImage NewBitmap(QSize size);

// The bitmap scaled smoothly to exactly `size` pixels, 32 bits a pixel with alpha.
QImage ScaledBitmap(const QImage& picture, QSize size);

// The bytes of a bitmap in a file format ("PNG", "BMP").
QByteArray EncodeBitmap(const QImage& bitmap, const char* format);

// The whole file when it is a regular file (also behind a link) of at most kLargestPictureFileBytes;
// nothing for anything else, without blocking on FIFOs or devices.
std::optional<QByteArray> ReadWholeFile(const QString& fileName);

} // namespace lanterna
