#include "drawing/gp_picture.h"

#include "platform/file_read.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace lanterna {

namespace {

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
    std::optional<QByteArray> bytes = ReadRegularFile(fileName, kMaxPictureFileBytes);
    if (!bytes) {
        FIsEmpty = true;
        return;
    }
    FDatastream = std::move(*bytes);
    FIsEmpty = false;
    Cleared();
    QBuffer header(&FDatastream);
    header.open(QIODevice::ReadOnly);
    const QSize size = ProbeImageSize(header, QLatin1Char('.') + QFileInfo(fileName).suffix());
    FWidth = size.width();
    FHeight = size.height();
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
    std::optional<QByteArray> bytes = ReadRegularFile(fileName, kMaxPictureFileBytes);
    if (!bytes) {
        FIsEmpty = true;
        return;
    }
    FDatastream = std::move(*bytes);
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
