#pragma once
// Picture holders: an image kept as its file's bytes, exactly as read, and decoded afresh every time
// it is measured or drawn. TGPPicture is the full holder (slides, fills); TGPSimplePicture the smaller
// one of the image widgets.

#include "drawing/gp_graphics.h"
#include "drawing/graphic.h"
#include "drawing/image_probe.h"

#include <QByteArray>
#include <QSize>

#include <memory>

namespace lanterna {

enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };

// A picture file larger than this is not read: far above any camera's photo, far below memory.
inline constexpr qint64 kMaxPictureFileBytes = qint64(256) << 20;

// A numbered resource that the program does not have.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// What both holders share: the bytes, the emptiness flag, the last known size and the loaders.
class TGPPictureData : public TGraphic {
public:
    bool Empty() const override { return FIsEmpty; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The size follows the image.
    void SetWidth(int) {}
    void SetHeight(int) {}
    const QByteArray& Data() const { return FDatastream; }

    void SaveToStream(QIODevice* stream) const override;
    // The form data's "Data" value: the bytes, unchanged.
    void WriteData(QIODevice* stream) const { SaveToStream(stream); }
    // A raw-data resource of the program (a Qt resource; ":/" is put before a bare name); a missing one
    // loads nothing.
    void LoadFromResourceName(const QString& resName);
    // The resource named by the number; a missing one raises EResNotFound.
    void LoadFromResourceID(int resId);
    // "RES://name" loads a resource, "FILE://name" a file (either in any letter case); nothing else.
    void LoadFromURL(const QString& url);
    void LoadFromClipboardFormat() {}
    void SaveToClipboardFormat() const {}
    // Decodes and takes the size: True when there is a picture with bytes, even when they do not decode
    // (the size is then 0 x 0).
    bool GetImageSizes();

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }

    TNotifyEvent OnClear;

protected:
    // The image decoded from the bytes; none when empty or without bytes.
    std::unique_ptr<TGPImage> Decode();
    virtual void Decoded(const TGPImage& image);
    // Takes the whole stream, from its start.
    void TakeStream(QIODevice* stream);
    void Cleared() {
        if (OnClear)
            OnClear(this);
    }
    bool Drawable() const { return !FIsEmpty && !FDatastream.isEmpty(); }
    // Assigning nothing: bytes cleared, OnChange then OnClear.
    void AssignNothing();
    // Takes the bytes a graphic (or the graphic of a picture container) saves of itself.
    bool AssignSaved(const TPersistent* source);

    QByteArray FDatastream;
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;
    bool FDoubleBuffered = false;
};

class TGPPicture : public TGPPictureData {
public:
    TGPPicture() = default;

    void LoadFromFile(const QString& fileName) override;
    void LoadFromStream(QIODevice* stream) override;
    void ReadData(QIODevice* stream);
    void Assign(const TPersistent* source) override;

    // The provisional size from the start of the file, by its extension.
    void GetImageSizesFromFileName(const QString& fileName);

    void Draw(QPainter& canvas, const TRect& rect) override;
    void GPDraw(TGPGraphics& graphics, const TRect& rect);
    void GPDraw(TGPGraphics& graphics, const TGPRectF& rect);
    // Tiles the picture at its own size, aligned to the surface origin, into a rectangle or a path.
    void FillRect(TGPGraphics& graphics, const TGPRectF& rect);
    void FillPath(TGPGraphics& graphics, const TGPGraphicsPath& path);

    TTransparentMode TransparentMode() const { return FBitmapTransparentMode; }
    void SetTransparentMode(TTransparentMode value) { FBitmapTransparentMode = value; }
    TColor TransparentColor() const { return FBitmapTransparentColor; }
    void SetTransparentColor(TColor value) { FBitmapTransparentColor = value; }
    const QString& ID() const { return FID; }
    void SetID(const QString& value) { FID = value; }
    int PixelDepth() const { return FPixelDepth; }
    int PixelFormat() const { return FPixelFormat; }
    bool HasAlpha() const { return FHasAlpha; }
    bool HasPalette() const { return FHasPalette; }

protected:
    void Decoded(const TGPImage& image) override;

private:
    void DrawKeyed(TGPGraphics& graphics, const TGPImage& image, const TGPRectF& dest);
    bool FDrawing = false;
    TTransparentMode FBitmapTransparentMode = tmAuto;
    TColor FBitmapTransparentColor = clWhite;
    QString FID;
    int FPixelDepth = 0;
    int FPixelFormat = 0;
    bool FHasAlpha = false;
    bool FHasPalette = false;
};

class TGPSimplePicture : public TGPPictureData {
public:
    TGPSimplePicture() = default;

    void LoadFromFile(const QString& fileName) override;
    void LoadFromStream(QIODevice* stream) override;
    void ReadData(QIODevice* stream);
    void Assign(const TPersistent* source) override;
    const QString& GetFileName() const { return FFileName; }

    void Draw(QPainter& canvas, const TRect& rect) override;
    // The image at its own size with its top-left corner at (x, y).
    void DrawImage(TGPGraphics& graphics, int x, int y);
    // The image stretched into (x, y, w, h).
    void DrawImageRect(TGPGraphics& graphics, int x, int y, int w, int h);

    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }

private:
    QString FFileName;
    TColor FBackgroundColor = clWhite;
};

} // namespace lanterna
