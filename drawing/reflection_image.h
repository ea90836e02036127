#pragma once
// A picture with a mirrored copy below it that fades out, as if the picture stood on a glossy floor.
// The reflection is built once into a bitmap whenever the picture or the fade changes; a paint only
// draws the cached bitmaps. The control is a transparent child widget: its parent shows around it.

#include "drawing/gp_picture.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace lanterna {

// The picture upside down, its rows fading from `opacityStart` (the row next to the picture) to
// `opacityEnd` over `size` rows and transparent below them; the picture's size, non-premultiplied ARGB.
// A null image when the picture is empty or memory runs out.
QImage MakeReflection(const QImage& picture, int opacityStart, int opacityEnd, int size);

class TReflectionImage : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReflectionImage)

public:
    explicit TReflectionImage(QWidget* parent = nullptr);
    ~TReflectionImage() override;

    TGPSimplePicture& Picture() { return *FIPicture; }
    const TGPSimplePicture& Picture() const { return *FIPicture; }
    // Copies the picture into the owned one; its change rebuilds the reflection.
    void SetPicture(const TPersistent* value);

    int ReflectionOpacityStart() const { return FReflectionOpacityStart; }
    // A value outside 0..255, or the current one, is ignored.
    void SetReflectionOpacityStart(int value);
    int ReflectionOpacityEnd() const { return FReflectionOpacityEnd; }
    void SetReflectionOpacityEnd(int value);
    int ReflectionSize() const { return FReflectionSize; }
    // A negative value, or the current one, is ignored.
    void SetReflectionSize(int value);
    int ReflectionAxis() const { return FReflectionAxis; }
    // Moves the reflection without rebuilding it.
    void SetReflectionAxis(int value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    bool MouseInControl() const { return FMouseInControl; }
    std::function<void(TReflectionImage* sender)> OnMouseEnter;
    std::function<void(TReflectionImage* sender)> OnMouseLeave;
    std::function<void(TReflectionImage* sender)> OnClick;

    // The built reflection, the picture's size; none while there is no picture.
    const TGPBitmap* ReflectionPic() const { return FReflectionPic.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetOpacity(int& field, int value);
    void PictureChanged();
    void BuildReflection();
    void SizeToPicture();

    std::unique_ptr<TGPSimplePicture> FIPicture;
    std::unique_ptr<TGPImage> FPictureImage; // the picture decoded once per change
    std::unique_ptr<TGPBitmap> FReflectionPic;
    int FReflectionOpacityStart = 255;
    int FReflectionOpacityEnd = 0;
    int FReflectionSize = 100;
    int FReflectionAxis = 1;
    bool FAutoSize = false;
    bool FMouseInControl = false;
};

} // namespace lanterna
