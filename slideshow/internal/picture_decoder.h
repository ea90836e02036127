#pragma once
// Decoding of picture bytes into bitmaps that are never larger than where they can be shown.

#include "drawing/gp_image.h"
#include "drawing/gp_picture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

namespace lanterna {

// A picture whose full-size 32-bit bitmap would need more than the drawing layer decodes is treated
// as not decodable: no size, no bitmap.
inline constexpr qint64 kLargestDecodableBytes = TGPImage::kMaxDecodeBytes;
inline constexpr qint64 kLargestPictureFileBytes = kMaxPictureFileBytes;

// The picture's own pixel size as its header tells it, upright (a picture whose orientation tag
// stands it on its side has its sides swapped); 0 x 0 when the bytes hold no picture the decoders
// know, or one too large to allocate.
QSize PictureSize(const QByteArray& bytes);

// The orientation the picture's header gives (1 .. 8, see ProbeOrientation).
int PictureOrientation(const QByteArray& bytes);
// The stored pixels turned and mirrored as `orientation` says, so that the picture stands upright.
QImage Upright(const QImage& stored, int orientation);

// `size` scaled down, keeping its proportions, until it fits into `bound` (never scaled up).
QSize FitWithin(QSize size, QSize bound);

// The picture decoded upright at FitWithin(natural, bound), 32 bits a pixel with alpha; `natural` is
// the upright size PictureSize gives. When the bytes are
// sized but cannot be decoded, the bitmap has that size and is fully transparent.
QImage DecodePicture(const QByteArray& bytes, QSize natural, QSize bound);

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
