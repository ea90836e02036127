#include "drawing/gp_image.h"

#include <QBuffer>
#include <QColorSpace>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <new>

namespace lanterna {

namespace {

// Qt's allocation limit is process-wide: it is set before main, while there is only one thread, so
// that decoders on the loader thread and on the user-interface thread never race on it. Pictures up
// to this size decode, also in formats that cannot be decoded at a reduced size.
[[maybe_unused]] const bool kAllocationLimitSet = [] {
    QImageReader::setAllocationLimit(int(TGPImage::kMaxDecodeBytes >> 20));
    return true;
}();

TGPImageFormat FormatFromReader(const QByteArray& name) {
    const QByteArray f = name.toLower();
    if (f == "png")
        return ifPNG;
    if (f == "jpeg" || f == "jpg")
        return ifJPEG;
    if (f == "bmp" || f == "dib")
        return ifBMP;
    if (f == "gif")
        return ifGIF;
    if (f == "tif" || f == "tiff")
        return ifTIFF;
    if (f == "ico" || f == "cur")
        return ifIcon;
    return ifUndefined;
}

PixelFormat PixelFormatOf(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 16 ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
    case QImage::Format_Grayscale8:
        return PixelFormat8bppIndexed;
    case QImage::Format_Grayscale16:
        return PixelFormat16bppGrayScale;
    case QImage::Format_RGB16:
        return PixelFormat16bppRGB565;
    case QImage::Format_RGB555:
        return PixelFormat16bppRGB555;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
        return PixelFormat24bppRGB;
    case QImage::Format_RGBX64:
        return PixelFormat48bppRGB;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return PixelFormat64bppARGB;
    default:
        return image.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    }
}

std::uint8_t Clamp255(float v) {
    return std::uint8_t(std::clamp(std::lround(v * 255.0f), 0L, 255L));
}

} // namespace

bool TColorMatrix::IsIdentity() const {
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            if (m[r][c] != (r == c ? 1.0f : 0.0f))
                return false;
    return true;
}

bool TColorMatrix::IsOpacityOnly() const {
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            if (!(r == 3 && c == 3) && m[r][c] != (r == c ? 1.0f : 0.0f))
                return false;
    return true;
}

TGPImage::TGPImage(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    const QByteArray format = reader.format(); // the reader forgets it once it has read
    if (declared.isValid() && qint64(declared.width()) * declared.height() * 4 > kMaxDecodeBytes) {
        FStatus = FLastStatus = OutOfMemory;
        return;
    }
    if (!reader.read(&FImage) || FImage.isNull()) {
        FImage = QImage();
        FStatus = FLastStatus =
            reader.error() == QImageReader::UnsupportedFormatError ? UnknownImageFormat : GenericError;
        return;
    }
    // Pixels are taken as stored, without converting from an embedded colour profile.
    FImage.setColorSpace(QColorSpace());
    FRawFormat = FormatFromReader(format);
    FPixelFormat = PixelFormatOf(FImage);
}

TGPImage::TGPImage(QImage image, TGPImageFormat rawFormat) : FImage(std::move(image)), FRawFormat(rawFormat) {
    if (FImage.isNull())
        FStatus = FLastStatus = InvalidParameter;
    else
        FPixelFormat = PixelFormatOf(FImage);
}

TStatus TGPImage::GetPixel(int x, int y, ARGB& color) const {
    if (!FImage.valid(x, y))
        return InvalidParameter;
    color = FImage.pixelColor(x, y).rgba();
    return Ok;
}

std::unique_ptr<TGPImage> TGPImage::GetThumbnailImage(int thumbWidth, int thumbHeight) const {
    if (FImage.isNull() || thumbWidth <= 0 || thumbHeight <= 0)
        return std::make_unique<TGPImage>(QImage(), ifMemoryBMP);
    return std::make_unique<TGPImage>(
        FImage.scaled(thumbWidth, thumbHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), ifMemoryBMP);
}

TStatus TGPImage::Save(QIODevice& stream, const QString& mimeType) const {
    if (FImage.isNull())
        return Keep(InvalidParameter);
    const QString mime = mimeType.toLower();
    if (mime == QLatin1String("image/gif"))
        return Keep(WriteGif(FImage, stream) ? Ok : Win32Error);
    QByteArray format;
    if (mime == QLatin1String("image/png"))
        format = "png";
    else if (mime == QLatin1String("image/bmp"))
        format = "bmp";
    else if (mime == QLatin1String("image/jpeg"))
        format = "jpeg";
    else if (mime == QLatin1String("image/tiff"))
        format = "tiff";
    else
        return Keep(UnknownImageFormat);
    QImageWriter writer(&stream, format);
    QImage image = FImage;
    if (format == "jpeg" || (format == "bmp" && !image.hasAlphaChannel()))
        image = image.convertToFormat(QImage::Format_RGB32);
    else if (image.format() == QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);
    return Keep(writer.write(image) ? Ok : Win32Error);
}

TGPBitmap::TGPBitmap(int width, int height, PixelFormat format) {
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxPixels) {
        FStatus = FLastStatus = width <= 0 || height <= 0 ? InvalidParameter : OutOfMemory;
        return;
    }
    const QImage::Format qtFormat = IsAlphaPixelFormat(format) || format == PixelFormat32bppPARGB
                                        ? QImage::Format_ARGB32_Premultiplied
                                        : QImage::Format_RGB32;
    FImage = QImage(width, height, qtFormat);
    if (FImage.isNull()) {
        FStatus = FLastStatus = OutOfMemory;
        return;
    }
    FImage.fill(qtFormat == QImage::Format_RGB32 ? 0xFF000000u : 0u);
    FRawFormat = ifMemoryBMP;
    FPixelFormat = format;
}

TStatus TGPBitmap::SetPixel(int x, int y, ARGB color) {
    if (!FImage.valid(x, y))
        return Keep(InvalidParameter);
    FImage.setPixelColor(x, y, QColor::fromRgba(FImage.hasAlphaChannel() ? color : (color | 0xFF000000u)));
    return Ok;
}

TStatus TGPImageAttributes::SetColorMatrix(const TColorMatrix& matrix, ColorMatrixFlags flags,
                                           ColorAdjustType) {
    if (flags > ColorMatrixFlagsAltGray)
        return FLastStatus = InvalidParameter;
    FMatrix = matrix;
    return Ok;
}

TStatus TGPImageAttributes::ClearColorMatrix(ColorAdjustType) {
    FMatrix.reset();
    return Ok;
}

TStatus TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType) {
    FColorKey = std::make_pair(colorLow, colorHigh);
    return Ok;
}

TStatus TGPImageAttributes::ClearColorKey(ColorAdjustType) {
    FColorKey.reset();
    return Ok;
}

std::optional<float> TGPImageAttributes::PlainOpacity() const {
    if (FColorKey)
        return std::nullopt;
    if (!FMatrix)
        return 1.0f;
    if (FMatrix->IsOpacityOnly())
        return std::clamp(FMatrix->m[3][3], 0.0f, 1.0f);
    return std::nullopt;
}

QImage TGPImageAttributes::Apply(const QImage& source) const {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const bool matrix = FMatrix && !FMatrix->IsIdentity();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QRgb& px = line[x];
            if (FColorKey) {
                const auto [lo, hi] = *FColorKey;
                const int r = qRed(px), g = qGreen(px), b = qBlue(px);
                if (r >= RedOf(lo) && r <= RedOf(hi) && g >= GreenOf(lo) && g <= GreenOf(hi) &&
                    b >= BlueOf(lo) && b <= BlueOf(hi)) {
                    px = 0;
                    continue;
                }
            }
            if (matrix) {
                const float in[5] = {qRed(px) / 255.0f, qGreen(px) / 255.0f, qBlue(px) / 255.0f,
                                     qAlpha(px) / 255.0f, 1.0f};
                float out[4];
                for (int c = 0; c < 4; ++c) {
                    out[c] = 0;
                    for (int r = 0; r < 5; ++r)
                        out[c] += in[r] * FMatrix->m[r][c];
                }
                px = qRgba(Clamp255(out[0]), Clamp255(out[1]), Clamp255(out[2]), Clamp255(out[3]));
            }
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

// Packs variable-width LZW codes, least significant bit first, into 255-byte sub-blocks.
class TGifCodeWriter {
public:
    explicit TGifCodeWriter(QByteArray& out) : FOut(out) {}
    void Put(int code, int width) {
        FBits |= std::uint32_t(code) << FCount;
        FCount += width;
        while (FCount >= 8) {
            Byte(FBits & 0xFF);
            FBits >>= 8;
            FCount -= 8;
        }
    }
    void Finish() {
        if (FCount > 0)
            Byte(FBits & 0xFF);
        Flush();
        FOut.append('\0');
    }

private:
    void Byte(std::uint8_t b) {
        FBlock.append(char(b));
        if (FBlock.size() == 255)
            Flush();
    }
    void Flush() {
        if (FBlock.isEmpty())
            return;
        FOut.append(char(FBlock.size()));
        FOut.append(FBlock);
        FBlock.clear();
    }
    QByteArray& FOut;
    QByteArray FBlock;
    std::uint32_t FBits = 0;
    int FCount = 0;
};

void PutLe16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

// The colours of a GIF: the image's own colours when they fit, else a 6 x 7 x 6 cube; the last entry
// is transparent.
class TGifPalette {
public:
    static constexpr int kTransparentIndex = 255;

    explicit TGifPalette(const QImage& image) : FColors(256, 0xFF000000u) {
        CollectExact(image);
        if (FFits) {
            for (auto it = FExact.cbegin(); it != FExact.cend(); ++it)
                FColors[it.value()] = it.key();
            return;
        }
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    FColors[(r * 7 + g) * 6 + b] = qRgb(r * 51, g * 255 / 6, b * 51);
    }

    const std::vector<QRgb>& Colors() const { return FColors; }
    bool Transparent() const { return FTransparent; }

    int IndexOf(QRgb px) const {
        if (qAlpha(px) < 128)
            return kTransparentIndex;
        if (FFits)
            return FExact.value(px | 0xFF000000u);
        const int r = (qRed(px) * 5 + 127) / 255, g = (qGreen(px) * 6 + 127) / 255,
                  b = (qBlue(px) * 5 + 127) / 255;
        return (r * 7 + g) * 6 + b;
    }

private:
    // Numbers the opaque colours in the order met, until a 256th would leave no room for transparency.
    void CollectExact(const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) < 128) {
                    FTransparent = true;
                    continue;
                }
                const QRgb c = line[x] | 0xFF000000u;
                if (FExact.contains(c))
                    continue;
                if (FExact.size() >= 255) {
                    FFits = false;
                    return;
                }
                FExact.insert(c, int(FExact.size()));
            }
        }
    }

    std::vector<QRgb> FColors;
    QHash<QRgb, int> FExact;
    bool FTransparent = false;
    bool FFits = true;
};

// The screen descriptor, the global colour table, the transparency extension when needed and the
// descriptor of the one picture covering the screen.
void PutGifHeader(QByteArray& out, int w, int h, const TGifPalette& palette) {
    out.append("GIF89a");
    PutLe16(out, w);
    PutLe16(out, h);
    out.append(char(0xF7)); // global colour table of 256 entries, 8 bits of colour resolution
    out.append('\0');
    out.append('\0');
    for (QRgb c : palette.Colors()) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    if (palette.Transparent()) {
        out.append("\x21\xF9\x04\x01\x00\x00", 6);
        out.append(char(TGifPalette::kTransparentIndex));
        out.append('\0');
    }
    out.append(',');
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, w);
    PutLe16(out, h);
    out.append('\0');
}

// The picture's palette indices, LZW-compressed; a full dictionary is cleared and started anew.
void PutGifPixels(QByteArray& out, const QImage& image, const TGifPalette& palette) {
    constexpr int kMinCodeSize = 8, kClear = 256, kEnd = 257;
    out.append(char(kMinCodeSize));
    TGifCodeWriter codes(out);
    QHash<std::uint32_t, int> dictionary;
    int next = kEnd + 1, width = kMinCodeSize + 1, prefix = -1;
    codes.Put(kClear, width);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int k = palette.IndexOf(line[x]);
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const std::uint32_t key = std::uint32_t(prefix) << 8 | std::uint32_t(k);
            const auto found = dictionary.constFind(key);
            if (found != dictionary.cend()) {
                prefix = found.value();
                continue;
            }
            codes.Put(prefix, width);
            if (next < 4096) {
                dictionary.insert(key, next);
                if (next == (1 << width) && width < 12)
                    ++width;
                ++next;
            } else {
                codes.Put(kClear, width);
                dictionary.clear();
                next = kEnd + 1;
                width = kMinCodeSize + 1;
            }
            prefix = k;
        }
    }
    if (prefix >= 0)
        codes.Put(prefix, width);
    codes.Put(kEnd, width);
    codes.Finish();
}

} // namespace

bool WriteGif(const QImage& source, QIODevice& stream) {
    if (source.isNull() || source.width() > 0xFFFF || source.height() > 0xFFFF)
        return false;
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const TGifPalette palette(image);
    QByteArray out;
    PutGifHeader(out, image.width(), image.height(), palette);
    PutGifPixels(out, image, palette);
    out.append(';');
    return stream.write(out) == out.size();
}

} // namespace lanterna
