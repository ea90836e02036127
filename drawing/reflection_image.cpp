#include "drawing/reflection_image.h"

#include "platform/windows.h"

#include <QMouseEvent>

#include <algorithm>

namespace lanterna {

namespace {

// The opacity of reflection row `row` for a fade from `start` to `end` over `size` rows.
int RowOpacity(int row, int start, int end, int size) {
    if (row >= size)
        return 0;
    const double s = size;
    return int(std::clamp<std::int64_t>(Round((s - row) / s * start + row / s * end), 0, 255));
}

} // namespace

QImage MakeReflection(const QImage& picture, int opacityStart, int opacityEnd, int size) {
    const int w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    const QImage flipped = picture.convertToFormat(QImage::Format_ARGB32).mirrored(false, true);
    QImage reflection(w, h, QImage::Format_ARGB32);
    if (flipped.isNull() || reflection.isNull())
        return {};
    reflection.fill(0);
    for (int i = 0; i < h; ++i) {
        const int rowOpacity = RowOpacity(i, opacityStart, opacityEnd, size);
        if (rowOpacity == 0)
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(flipped.constScanLine(i));
        auto* out = reinterpret_cast<QRgb*>(reflection.scanLine(i));
        for (int j = 0; j < w; ++j) {
            const int alpha = qAlpha(in[j]);
            if (alpha > 0)
                out[j] = (in[j] & 0x00FFFFFF) | QRgb(Round(rowOpacity / 255.0 * alpha)) << 24;
        }
    }
    return reflection;
}

TReflectionImage::TReflectionImage(QWidget* parent)
    : QWidget(parent), FIPicture(std::make_unique<TGPSimplePicture>()) {
    resize(32, 32);
    // Windowless: the control has no background of its own, even when rendered on its own.
    setAttribute(Qt::WA_NoSystemBackground);
    FIPicture->OnChange = [this](TPersistent*) { PictureChanged(); };
}

TReflectionImage::~TReflectionImage() = default;

void TReflectionImage::SetPicture(const TPersistent* value) {
    FIPicture->Assign(value);
}

void TReflectionImage::SetReflectionOpacityStart(int value) {
    SetOpacity(FReflectionOpacityStart, value);
}

void TReflectionImage::SetReflectionOpacityEnd(int value) {
    SetOpacity(FReflectionOpacityEnd, value);
}

void TReflectionImage::SetOpacity(int& field, int value) {
    if (value < 0 || value > 255 || value == field)
        return;
    field = value;
    BuildReflection();
    update();
}

void TReflectionImage::SetReflectionSize(int value) {
    if (value < 0 || value == FReflectionSize)
        return;
    FReflectionSize = value;
    BuildReflection();
    SizeToPicture();
    update();
}

void TReflectionImage::SetReflectionAxis(int value) {
    if (value == FReflectionAxis)
        return;
    FReflectionAxis = value;
    update();
}

void TReflectionImage::SetAutoSize(bool value) {
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    SizeToPicture();
}

void TReflectionImage::PictureChanged() {
    BuildReflection();
    SizeToPicture();
    update();
}

void TReflectionImage::BuildReflection() {
    FReflectionPic.reset();
    FPictureImage.reset();
    if (FIPicture->Empty())
        return;
    auto picture = std::make_unique<TGPImage>(FIPicture->Data());
    const int w = picture->GetWidth(), h = picture->GetHeight();
    if (w <= 0 || h <= 0)
        return; // bytes that do not decode show nothing
    QImage reflection =
        MakeReflection(picture->QtImage(), FReflectionOpacityStart, FReflectionOpacityEnd, FReflectionSize);
    if (reflection.isNull())
        throw Exception(QStringLiteral("Could not allocate memory for reflection image"));
    // Both are drawn at every paint: keep them in the format the painter blends fastest.
    picture->QtImage().convertTo(QImage::Format_ARGB32_Premultiplied);
    FPictureImage = std::move(picture);
    FReflectionPic =
        std::make_unique<TGPBitmap>(reflection.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TReflectionImage::SizeToPicture() {
    if (!FAutoSize || !FPictureImage)
        return;
    resize(FPictureImage->GetWidth(), FPictureImage->GetHeight() + FReflectionSize);
}

void TReflectionImage::paintEvent(QPaintEvent*) {
    if (FIPicture->Empty() || !FPictureImage)
        return;
    const float w = float(FPictureImage->GetWidth()), h = float(FPictureImage->GetHeight());
    TGPGraphics graphics(this);
    if (FReflectionPic)
        graphics.DrawImage(FReflectionPic.get(), 0, h + float(FReflectionAxis), w, h);
    graphics.DrawImage(FPictureImage.get(), 0, 0, w, h);
}

void TReflectionImage::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    FMouseInControl = true;
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TReflectionImage::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    FMouseInControl = false;
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TReflectionImage::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (IsClick(*this, *event) && OnClick)
        OnClick(this);
}

} // namespace lanterna
