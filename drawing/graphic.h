#pragma once
// The framework's persistent objects and graphics that the picture holders and fills are assigned
// from and to: a graphic reports its size and emptiness, draws on a canvas and saves itself to a stream.

#include "platform/types.h"

#include <QImage>

#include <functional>
#include <memory>

class QIODevice;
class QPainter;

namespace lanterna {

// Anything that can be assigned from another object of the framework.
class TPersistent {
public:
    virtual ~TPersistent() = default;
    // Copies `source` into this object when it knows how; anything else is ignored.
    virtual void Assign(const TPersistent* source) { (void)source; }
};

using TNotifyEvent = std::function<void(TPersistent* sender)>;

class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws on a canvas into an integer rectangle.
    virtual void Draw(QPainter& canvas, const TRect& rect) = 0;
    virtual void LoadFromStream(QIODevice* stream) = 0;
    virtual void SaveToStream(QIODevice* stream) const = 0;
    // Reads the whole file through LoadFromStream; an unreadable file raises EInOutError.
    virtual void LoadFromFile(const QString& fileName);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange)
            OnChange(this);
    }

private:
    bool FTransparent = false;
};

// The framework's bitmap: pixels in memory, saved in the bitmap file format.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image) : FImage(std::move(image)) {}
    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void Draw(QPainter& canvas, const TRect& rect) override;
    void LoadFromStream(QIODevice* stream) override;
    void SaveToStream(QIODevice* stream) const override;
    void Assign(const TPersistent* source) override;
    const QImage& Image() const { return FImage; }
    void SetImage(QImage image);

private:
    QImage FImage;
};

// The framework's picture container: holds one graphic of any kind.
class TPicture : public TPersistent {
public:
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { FGraphic = std::move(graphic); }

private:
    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace lanterna
