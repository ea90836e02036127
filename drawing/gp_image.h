#pragma once
// Images, bitmaps and image attributes of the graphics wrappers: decoding from bytes with
// QImageReader, encoding by MIME type, and the colour key and colour matrix applied when drawing.

#include "drawing/gp_types.h"

#include <QByteArray>
#include <QImage>

#include <memory>
#include <optional>

class QIODevice;

namespace lanterna {

enum Unit : std::uint8_t {
    UnitWorld,
    UnitDisplay,
    UnitPixel,
    UnitPoint,
    UnitInch,
    UnitDocument,
    UnitMillimeter
};

class TGPImage {
public:
    TGPImage() = default;
    // Decodes the bytes of an image file; a failed decode leaves an image of 0 x 0 with an error status.
    // Pictures whose decoded pixels would exceed kMaxDecodeBytes are refused the same way.
    explicit TGPImage(const QByteArray& bytes);
    explicit TGPImage(QImage image, TGPImageFormat rawFormat = ifMemoryBMP);
    virtual ~TGPImage() = default;

    static constexpr qint64 kMaxDecodeBytes = qint64(512) << 20;

    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }
    TStatus Status() const { return FStatus; }
    int GetWidth() const { return FImage.width(); }
    int GetHeight() const { return FImage.height(); }
    PixelFormat GetPixelFormat() const { return FPixelFormat; }
    TGPImageFormat GetRawFormat() const { return FRawFormat; }
    bool HasAlpha() const { return IsAlphaPixelFormat(FPixelFormat); }
    bool HasPalette() const { return IsIndexedPixelFormat(FPixelFormat); }
    // The colour of a pixel, unpremultiplied.
    TStatus GetPixel(int x, int y, ARGB& color) const;
    // The image scaled to thumbWidth x thumbHeight.
    std::unique_ptr<TGPImage> GetThumbnailImage(int thumbWidth, int thumbHeight) const;
    // Encodes with the encoder of "image/png", "image/bmp", "image/jpeg", "image/tiff" or "image/gif".
    TStatus Save(QIODevice& stream, const QString& mimeType) const;

    const QImage& QtImage() const { return FImage; }
    QImage& QtImage() { return FImage; }

protected:
    TStatus Keep(TStatus s) const {
        if (s != Ok)
            FLastStatus = s;
        return s;
    }
    QImage FImage;
    TGPImageFormat FRawFormat = ifUndefined;
    PixelFormat FPixelFormat = PixelFormatUndefined;
    TStatus FStatus = Ok; // the status the image was made with
    mutable TStatus FLastStatus = Ok;
};

// An image whose pixels can be painted on; new bitmaps are 32-bit ARGB and fully transparent.
class TGPBitmap : public TGPImage {
public:
    TGPBitmap(int width, int height, PixelFormat format = PixelFormat32bppARGB);
    explicit TGPBitmap(const QByteArray& bytes) : TGPImage(bytes) {}
    explicit TGPBitmap(QImage image) : TGPImage(std::move(image)) {}

    // The largest bitmap made: a size beyond it fails with OutOfMemory instead of exhausting memory.
    static constexpr qint64 kMaxPixels = qint64(16384) * 16384;

    TStatus SetPixel(int x, int y, ARGB color);
};

enum ColorMatrixFlags : std::uint8_t {
    ColorMatrixFlagsDefault,
    ColorMatrixFlagsSkipGrays,
    ColorMatrixFlagsAltGray
};

// Adjustments applied to an image while it is drawn: a colour key (pixels whose red, green and blue
// each lie within the key's range become transparent), then a colour matrix.
class TGPImageAttributes {
public:
    TStatus SetColorMatrix(const TColorMatrix& matrix, ColorMatrixFlags flags = ColorMatrixFlagsDefault,
                           ColorAdjustType type = ColorAdjustTypeDefault);
    TStatus ClearColorMatrix(ColorAdjustType type = ColorAdjustTypeDefault);
    TStatus SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type = ColorAdjustTypeDefault);
    TStatus ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    // The opacity to draw with when the attributes amount to nothing but an opacity.
    std::optional<float> PlainOpacity() const;
    // The image with the adjustments applied.
    QImage Apply(const QImage& source) const;

private:
    std::optional<TColorMatrix> FMatrix;
    std::optional<std::pair<ARGB, ARGB>> FColorKey;
    TStatus FLastStatus = Ok;
};

// Writes an image as a GIF: its own colours when there are at most 256 of them, else a colour cube;
// pixels less than half opaque become the transparent index.
bool WriteGif(const QImage& image, QIODevice& stream);

} // namespace lanterna
