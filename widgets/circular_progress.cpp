#include "widgets/circular_progress.h"

#include "drawing/gp_graphics.h"
#include "platform/store_changed.h"
#include "platform/windows.h"

#include <QMouseEvent>
#include <QPainter>

namespace lanterna {

void TProgressAppearance::Set(TColor& field, TColor value) {
    if (StoreChanged(field, value) && OnChange)
        OnChange(this);
}

void TProgressAppearance::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TProgressAppearance*>(source);
    if (!other || other == this)
        return;
    FBackGroundColor = other->FBackGroundColor;
    FBorderColor = other->FBorderColor;
    FActiveSegmentColor = other->FActiveSegmentColor;
    FTransitionSegmentColor = other->FTransitionSegmentColor;
    FInActiveSegmentColor = other->FInActiveSegmentColor;
    FProgressSegmentColor = other->FProgressSegmentColor;
    if (OnChange)
        OnChange(this);
}

TCircularProgress::TCircularProgress(QWidget* parent) : QWidget(parent), FTimer(nullptr, 100, false) {
    resize(60, 60);
    // Windowless: around and inside the ring the parent shows.
    setAttribute(Qt::WA_NoSystemBackground);
    FAppearance.OnChange = [this](TPersistent*) {
        // The border takes a pixel from the ring's rectangle.
        BuildGeometry();
        update();
    };
    FTimer.OnTimer = [this](TTimer*) { Tick(); };
    FTimer.SetEnabled(isEnabled());
    BuildGeometry();
}

TCircularProgress::~TCircularProgress() = default;

void TCircularProgress::SetMax(int value) {
    if (value == FMax || value < 0)
        return;
    FMax = value;
    if (value < FPosition)
        SetPosition(value);
    update();
}

void TCircularProgress::SetMin(int value) {
    if (value == FMin || value < 0 || value > FMax)
        return;
    FMin = value;
    if (FPosition < value)
        SetPosition(value);
    update();
}

void TCircularProgress::SetPosition(int value) {
    if (value < FMin || value > FMax)
        return;
    FPosition = value;
    FHead = value;
    FFilling = true;
    update();
}

int TCircularProgress::PositionSegments() const {
    if (FPosition == FMax)
        return kSegments;
    if (FPosition <= FMin)
        return -1;
    const float perSegment = float(FMax - FMin) / float(kSegments);
    return int(Round(float(FPosition) / perSegment));
}

TColor TCircularProgress::SegmentColor(int i) const {
    if (i == FHead)
        return FAppearance.TransitionSegmentColor();
    const bool ahead = i > FHead;
    // Ahead of the head while filling, or behind it while emptying, the ring is empty.
    if (ahead == FFilling)
        return i > PositionSegments() ? FAppearance.InActiveSegmentColor()
                                      : FAppearance.ProgressSegmentColor();
    return FAppearance.ActiveSegmentColor();
}

float TCircularProgress::Sweep() const {
    const int m = std::max(width(), height());
    return m < 40 ? 22 : m < 60 ? 23 : m < 100 ? 24 : m < 200 ? 25 : 26;
}

void TCircularProgress::BuildGeometry() {
    FGeometrySize = size();
    const float sweep = Sweep();
    const bool border = FAppearance.BorderColor() != clNone;
    const float w = float(border ? width() - 1 : width()), h = float(border ? height() - 1 : height());
    for (int i = 1; i <= kSegments; ++i) {
        TGPGraphicsPath& pie = FSegments[i - 1];
        pie.Reset();
        if (w <= 0 || h <= 0)
            continue;
        pie.AddArc(0, 0, w, h, float((i - 1) * 30 - 90), sweep);
        pie.AddLine(w / 2, h / 2, w / 2, h / 2);
        pie.CloseFigure();
    }
    // The hole: 16/30 of the ring's diameter, centred.
    FInnerCircle.Reset();
    const auto part = [](double v) { return float(Round(v)); };
    const float iw = part(w - 14.0 * w / 30), ih = part(h - 14.0 * h / 30);
    if (iw > 0 && ih > 0)
        FInnerCircle.AddEllipse(part(7.0 * w / 30), part(7.0 * h / 30), iw, ih);
}

void TCircularProgress::Tick() {
    if (isEnabled()) {
        if (FHead < kSegments) {
            ++FHead;
        } else {
            FFilling = !FFilling;
            FHead = 1;
        }
        // Only the part of the control that holds the segments which changed.
        const int w = width(), h = height();
        int left = 0, top = 0, right = w, bottom = h; // right and bottom excluded
        switch (FHead) {
        case 1:
            bottom = h / 2;
            break;
        case 2:
        case 3:
            left += w / 2;
            bottom = h / 2;
            break;
        case 4:
            left += w / 2;
            break;
        case 5:
        case 6:
            left += w / 2;
            top += h / 2;
            break;
        case 7:
            top += h / 2;
            break;
        case 8:
        case 9:
            right = right - w / 2 + 4;
            top += h / 2;
            break;
        case 10:
            right -= w / 2;
            break;
        default:
            right -= w / 2;
            bottom = h / 2 + 4;
            break;
        }
        update(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    }
    if (OnProgressUpdate)
        OnProgressUpdate(this);
}

void TCircularProgress::paintEvent(QPaintEvent*) {
    // A hidden control learns of its size only when it is shown or painted.
    if (FGeometrySize != size())
        BuildGeometry();
    QPainter canvas(this);
    const TProgressAppearance& a = FAppearance;
    if (a.BackGroundColor() != clNone)
        canvas.fillRect(rect(), QColor::fromRgb(AlphaColor(a.BackGroundColor(), 255)));
    if (a.BorderColor() != clNone) {
        canvas.setPen(QColor::fromRgb(AlphaColor(a.BorderColor(), 255)));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
    TGPGraphics graphics(canvas);
    graphics.SetClip(FInnerCircle, CombineModeExclude);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    for (int i = 1; i <= kSegments; ++i) {
        const TColor color = SegmentColor(i);
        if (color != clNone)
            graphics.FillPath(TGPSolidBrush(AlphaColor(color, 255)), FSegments[i - 1]);
    }
}

void TCircularProgress::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BuildGeometry();
}

void TCircularProgress::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        FTimer.SetEnabled(isEnabled());
}

void TCircularProgress::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (IsClick(*this, *event) && OnClick)
        OnClick(this);
}

} // namespace lanterna
