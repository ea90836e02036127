#include "drawing/gp_picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace lanterna {

namespace {

// Reads a file's first bytes for the header probes; reads past the end report failure.
class THeaderReader {
public:
    explicit THeaderReader(QFile& file) : FFile(file) {}
    bool Byte(int& b) {
        char c;
        if (FFile.read(&c, 1) != 1)
            return false;
        b = std::uint8_t(c);
        return true;
    }
    bool Skip(qint64 n) {
        if (n < 0)
            return false;
        return FFile.seek(FFile.pos() + n) && FFile.pos() <= FFile.size();
    }
    bool Seek(qint64 pos) { return pos >= 0 && pos <= FFile.size() && FFile.seek(pos); }
    bool Be16(int& v) {
        int hi, lo;
        if (!Byte(hi) || !Byte(lo))
            return false;
        v = hi << 8 | lo;
        return true;
    }
    bool Le16(int& v) {
        int lo, hi;
        if (!Byte(lo) || !Byte(hi))
            return false;
        v = hi << 8 | lo;
        return true;
    }
    bool Le32(std::uint32_t& v) {
        int lo, hi;
        if (!Le16(lo) || !Le16(hi))
            return false;
        v = std::uint32_t(hi) << 16 | std::uint32_t(lo);
        return true;
    }
    bool Starts(const char* signature, int length) {
        const QByteArray head = FFile.read(length);
        return head.size() == length && std::equal(head.begin(), head.end(), signature);
    }

private:
    QFile& FFile;
};

QSize ProbeJpeg(THeaderReader& in) {
    if (!in.Starts("\xFF\xD8", 2))
        return {};
    int b;
    if (!in.Byte(b))
        return {};
    while (b == 0xFF) {
        int m;
        if (!in.Byte(m))
            return {};
        // Markers without a segment (fill bytes, TEM, RSTn) are followed directly by another marker byte.
        while (m == 0xFF || m == 0x01 || (m >= 0xD0 && m <= 0xD7))
            if (!in.Byte(m))
                return {};
        if (m == 0xC0 || m == 0xC1 || m == 0xC2) {
            int height, width;
            if (!in.Skip(3) || !in.Be16(height) || !in.Be16(width))
                return {};
            return QSize(width, height);
        }
        int length;
        if (!in.Be16(length) || !in.Skip(length - 2) || !in.Byte(b))
            return {};
    }
    return {};
}

QSize ProbePng(THeaderReader& in) {
    int width, height;
    if (!in.Starts("\x89PNG\r\n\x1A\n", 8) || !in.Seek(18) || !in.Be16(width) || !in.Seek(22) ||
        !in.Be16(height))
        return {};
    return QSize(width, height);
}

QSize ProbeBmp(THeaderReader& in) {
    std::uint32_t values[6];
    if (!in.Starts("BM", 2))
        return {};
    for (std::uint32_t& v : values)
        if (!in.Le32(v))
            return {};
    return QSize(int(values[4] & 0xFFFF), int(values[5] & 0xFFFF));
}

QSize ProbeTiff(THeaderReader& in) {
    std::uint32_t directory;
    // Only little-endian files are read.
    if (!in.Starts("II*\0", 4) || !in.Le32(directory) || !in.Seek(directory))
        return {};
    int count;
    if (!in.Le16(count))
        return {};
    int width = -1, height = -1;
    for (int i = 0; i < count && (width < 0 || height < 0); ++i) {
        int tag, type;
        std::uint32_t n, value;
        if (!in.Le16(tag) || !in.Le16(type) || !in.Le32(n) || !in.Le32(value))
            return {};
        const int magnitude = int(std::min<std::int64_t>(std::llabs(std::int32_t(value)), 0x7FFFFFFF));
        if (tag == 256)
            width = magnitude;
        else if (tag == 257)
            height = magnitude;
    }
    if (width < 0 || height < 0)
        return {};
    return QSize(width, height);
}

QSize ProbeGif(THeaderReader& in) {
    int screenWidth, screenHeight, flags, ignored;
    if (!in.Starts("GIF", 3) || !in.Skip(3) || !in.Le16(screenWidth) || !in.Le16(screenHeight) ||
        !in.Byte(flags) || !in.Skip(2))
        return {};
    if ((flags & 0x80) && !in.Skip(3 * (qint64(1) << ((flags & 7) + 1))))
        return {};
    int b;
    do {
        if (!in.Byte(b))
            return {};
    } while (b != 0x2C);
    int left, top, width, height;
    if (!in.Le16(left) || !in.Le16(top) || !in.Le16(width) || !in.Le16(height) || !in.Byte(ignored))
        return {};
    return QSize(width, height);
}

// Draws the whole image into `dest` with every pixel of the key's colour left out.
void DrawColorKeyed(TGPGraphics& graphics, const TGPImage& image, const TGPRectF& dest, ARGB key) {
    TGPImageAttributes attributes;
    attributes.SetColorKey(key, key);
    graphics.DrawImage(&image, dest, 0, 0, float(image.GetWidth()), float(image.GetHeight()), UnitPixel,
                       &attributes);
}

// The colour of the bottom-left pixel, which the framework's transparent bitmaps leave out.
ARGB BottomLeft(const TGPImage& image) {
    ARGB key = 0;
    image.GetPixel(0, image.GetHeight() - 1, key);
    return key;
}

QString ResourcePath(const QString& name) {
    return name.startsWith(QLatin1String(":/")) ? name : QStringLiteral(":/") + name;
}

} // namespace

QSize ProbeImageSize(const QString& fileName) {
    const QString ext = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QSize(0, 0);
    THeaderReader in(file);
    QSize size;
    if (ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG"))
        size = ProbeJpeg(in);
    else if (ext == QLatin1String(".PNG"))
        size = ProbePng(in);
    else if (ext == QLatin1String(".BMP"))
        size = ProbeBmp(in);
    else if (ext == QLatin1String(".TIFF") || ext == QLatin1String(".TIF"))
        size = ProbeTiff(in);
    else if (ext == QLatin1String(".GIF"))
        size = ProbeGif(in);
    return size.isValid() ? size : QSize(0, 0);
}

void TGPPictureData::SaveToStream(QIODevice* stream) const {
    if (stream)
        stream->write(FDatastream);
}

void TGPPictureData::TakeStream(QIODevice* stream) {
    if (!stream->isSequential())
        stream->seek(0);
    FDatastream = stream->readAll();
}

std::unique_ptr<TGPImage> TGPPictureData::Decode() {
    if (!Drawable())
        return nullptr;
    auto image = std::make_unique<TGPImage>(FDatastream);
    Decoded(*image);
    return image;
}

void TGPPictureData::Decoded(const TGPImage& image) {
    FWidth = image.GetWidth();
    FHeight = image.GetHeight();
}

bool TGPPictureData::GetImageSizes() {
    if (!Drawable())
        return false;
    Decode();
    return true;
}

void TGPPictureData::LoadFromResourceName(const QString& resName) {
    QFile resource(ResourcePath(resName));
    if (resource.open(QIODevice::ReadOnly))
        LoadFromStream(&resource);
}

void TGPPictureData::LoadFromResourceID(int resId) {
    QFile resource(ResourcePath(QString::number(resId)));
    if (!resource.open(QIODevice::ReadOnly))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(resId));
    LoadFromStream(&resource);
}

void TGPPictureData::LoadFromURL(const QString& url) {
    const QString upper = url.toUpper();
    if (upper.startsWith(QLatin1String("RES://")))
        LoadFromResourceName(url.mid(6));
    else if (upper.startsWith(QLatin1String("FILE://")))
        LoadFromFile(url.mid(7));
}

void TGPPictureData::AssignNothing() {
    FDatastream.clear();
    Changed();
    Cleared();
}

bool TGPPictureData::AssignSaved(const TPersistent* source) {
    const TGraphic* graphic = dynamic_cast<const TGraphic*>(source);
    if (const auto* container = dynamic_cast<const TPicture*>(source))
        graphic = container->Graphic();
    if (!graphic)
        return false;
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    graphic->SaveToStream(&saved);
    FDatastream = saved.data();
    FIsEmpty = false;
    Changed();
    return true;
}

void TGPPicture::LoadFromFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        FIsEmpty = true;
        return;
    }
    FDatastream = file.readAll();
    FIsEmpty = false;
    Cleared();
    GetImageSizesFromFileName(fileName);
    Changed();
}

void TGPPicture::GetImageSizesFromFileName(const QString& fileName) {
    const QSize size = ProbeImageSize(fileName);
    FWidth = size.width();
    FHeight = size.height();
}

void TGPPicture::LoadFromStream(QIODevice* stream) {
    if (!stream || stream->size() <= 0)
        return;
    TakeStream(stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed();
}

void TGPPicture::ReadData(QIODevice* stream) {
    if (!stream || stream->size() <= 0)
        return;
    TakeStream(stream);
    FIsEmpty = false;
    GetImageSizes();
}

void TGPPicture::Assign(const TPersistent* source) {
    FIsEmpty = true;
    if (!source) {
        AssignNothing();
        return;
    }
    if (const auto* picture = dynamic_cast<const TGPPicture*>(source)) {
        FDatastream = picture->FDatastream;
        FIsEmpty = FDatastream.isEmpty();
        Changed();
    } else {
        AssignSaved(source);
    }
    GetImageSizes();
}

void TGPPicture::Decoded(const TGPImage& image) {
    TGPPictureData::Decoded(image);
    FHasAlpha = image.HasAlpha();
    FHasPalette = image.HasPalette();
    FPixelFormat = int(image.GetPixelFormat());
    FPixelDepth = GetPixelFormatSize(image.GetPixelFormat());
}

void TGPPicture::DrawKeyed(TGPGraphics& graphics, const TGPImage& image, const TGPRectF& dest) {
    DrawColorKeyed(graphics, image, dest,
                   FBitmapTransparentMode == tmFixed ? AlphaColor(FBitmapTransparentColor, 255)
                                                     : BottomLeft(image));
}

void TGPPicture::GPDraw(TGPGraphics& graphics, const TRect& rect) {
    const auto image = Decode();
    if (!image)
        return;
    if (image->GetRawFormat() == ifBMP && Transparent())
        DrawKeyed(graphics, *image,
                  TGPRectF{float(rect.Left), float(rect.Top), float(FWidth), float(FHeight)});
    else
        graphics.DrawImage(image.get(), float(rect.Left), float(rect.Top), float(rect.Width()),
                           float(rect.Height()));
}

void TGPPicture::GPDraw(TGPGraphics& graphics, const TGPRectF& rect) {
    if (FDrawing)
        return;
    FDrawing = true;
    struct TReset {
        bool& flag;
        ~TReset() { flag = false; }
    } reset{FDrawing};
    const auto image = Decode();
    if (!image)
        return;
    if (image->GetRawFormat() == ifBMP && Transparent())
        DrawKeyed(graphics, *image, rect);
    else
        graphics.DrawImage(image.get(), rect);
}

void TGPPicture::FillRect(TGPGraphics& graphics, const TGPRectF& rect) {
    const auto image = Decode();
    if (!image)
        return;
    const TGPTextureBrush brush(image.get(), WrapModeTile);
    graphics.FillRectangle(brush, rect);
}

void TGPPicture::FillPath(TGPGraphics& graphics, const TGPGraphicsPath& path) {
    const auto image = Decode();
    if (!image)
        return;
    const TGPTextureBrush brush(image.get(), WrapModeTile);
    graphics.FillPath(brush, path);
}

void TGPPicture::Draw(QPainter& canvas, const TRect& rect) {
    const auto image = Decode();
    if (!image)
        return;
    TGPGraphics graphics(canvas);
    if (image->GetRawFormat() == ifBMP) {
        // As the framework's transparent bitmap: keyed by its bottom-left pixel, at its own size.
        DrawColorKeyed(graphics, *image,
                       TGPRectF{float(rect.Left), float(rect.Top), float(FWidth), float(FHeight)},
                       BottomLeft(*image));
    } else {
        graphics.DrawImage(image.get(), float(rect.Left), float(rect.Top), float(rect.Width()),
                           float(rect.Height()));
    }
}

void TGPSimplePicture::LoadFromFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        FIsEmpty = true;
        return;
    }
    FDatastream = file.readAll();
    FFileName = fileName;
    FIsEmpty = false;
    Cleared();
    GetImageSizes();
    Changed();
}

void TGPSimplePicture::LoadFromStream(QIODevice* stream) {
    if (!stream)
        return;
    TakeStream(stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed();
}

void TGPSimplePicture::ReadData(QIODevice* stream) {
    if (!stream)
        return;
    TakeStream(stream);
    FIsEmpty = false;
}

void TGPSimplePicture::Assign(const TPersistent* source) {
    FIsEmpty = true;
    if (!source) {
        AssignNothing();
        return;
    }
    if (const auto* picture = dynamic_cast<const TGPSimplePicture*>(source)) {
        FDatastream = picture->FDatastream;
        FIsEmpty = FDatastream.isEmpty();
        Changed();
    } else if (dynamic_cast<const TBitmap*>(source) || dynamic_cast<const TPicture*>(source)) {
        AssignSaved(source);
    }
    GetImageSizes();
}

void TGPSimplePicture::Draw(QPainter& canvas, const TRect& rect) {
    const auto image = Decode();
    if (!image)
        return;
    TGPGraphics graphics(canvas);
    const TGPRectF dest{float(rect.Left), float(rect.Top), float(rect.Width()), float(rect.Height())};
    if (image->GetRawFormat() == ifBMP)
        DrawColorKeyed(graphics, *image, dest, BottomLeft(*image));
    else
        graphics.DrawImage(image.get(), dest);
}

void TGPSimplePicture::DrawImage(TGPGraphics& graphics, int x, int y) {
    if (const auto image = Decode())
        graphics.DrawImage(image.get(), float(x), float(y));
}

void TGPSimplePicture::DrawImageRect(TGPGraphics& graphics, int x, int y, int w, int h) {
    if (const auto image = Decode())
        graphics.DrawImage(image.get(), float(x), float(y), float(w), float(h));
}

} // namespace lanterna
