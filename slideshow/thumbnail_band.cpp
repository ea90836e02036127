#include "slideshow/thumbnail_band.h"

#include "drawing/fill.h"
#include "platform/store_changed.h"
#include "platform/timer.h"
#include "slideshow/internal/new_fill.h"
#include "slideshow/slide_show_items.h"

#include <QWidget>

#include <algorithm>

namespace lanterna {

namespace {

// Ticks of the 10 ms handle timer before a held handle starts repeating.
constexpr int kRepeatAfterTicks = 10;

constexpr THandleSide kSides[] = {hsLeft, hsRight, hsTop, hsBottom};

TGPRectF RectF(double x, double y, double width, double height) {
    return {float(x), float(y), float(width), float(height)};
}

// The larger left edge lies left of the smaller right edge, and likewise vertically.
bool Overlap(const TGPRectF& a, const TGPRectF& b) {
    return std::max(a.X, b.X) < std::min(a.X + a.Width, b.X + b.Width) &&
           std::max(a.Y, b.Y) < std::min(a.Y + a.Height, b.Y + b.Height);
}

} // namespace

TThumbnailBand::TThumbnailBand(QWidget* control, const TMargins& margin, const TSlideShowItems& items)
    : FControl(control), FMargin(margin), FItems(items) {
    const auto changed = [this] {
        if (OnChange)
            OnChange();
    };
    FHolderMargin.OnChange = changed;
    FHandles.OnChange = changed;
    FHolderFill = NewFill(RGBColor(0xF0, 0xF0, 0xF0), clNone, gtSolid);
    FHolderFill->SetGlow(gmGradient);
    FSelectedFill = NewFill(RGBColor(0xFF, 0xD9, 0xAA), RGBColor(0xFF, 0xBB, 0x6E), gtVertical);
    FSelectedFill->SetColorMirror(RGBColor(0xFE, 0xAE, 0x42));
    FSelectedFill->SetColorMirrorTo(RGBColor(0xFE, 0xE1, 0x7A));
    FSelectedFill->SetGradientMirrorType(gtVertical);
    FSelectedFill->SetBorderColor(RGBColor(0xFE, 0xAE, 0x42));
    for (TFill* fill : {FHolderFill.get(), FSelectedFill.get()})
        fill->OnChange = [changed](TPersistent*) { changed(); };
    // The timer runs only while a scroll handle is held.
    FHandleTimer = std::make_unique<TTimer>(nullptr, 10, false);
    FHandleTimer->OnTimer = [this](TTimer*) { HandleTimerEvent(); };
}

TThumbnailBand::~TThumbnailBand() = default;

template <typename T, typename V> void TThumbnailBand::SetProperty(T& field, const V& value) {
    if (StoreChanged(field, value) && OnChange)
        OnChange();
}

bool TThumbnailBand::SetVisible(bool value) {
    if (!StoreChanged(FVisible, value))
        return false;
    if (OnChange)
        OnChange();
    return true;
}
void TThumbnailBand::SetFloating(bool value) {
    SetProperty(FFloating, value);
}
void TThumbnailBand::SetPosition(TThumbNailPosition value) {
    SetProperty(FPosition, value);
}
void TThumbnailBand::SetWidth(int value) {
    SetProperty(FWidth, value);
}
void TThumbnailBand::SetHeight(int value) {
    SetProperty(FHeight, value);
}
void TThumbnailBand::SetSpacing(int value) {
    SetProperty(FSpacing, value);
}

void TThumbnailBand::SetHandles(const THandleAppearance& value) {
    FHandles.Assign(value);
    if (OnChange)
        OnChange();
}

TGPRectF TThumbnailBand::HolderRect() const {
    const TMargins& m = FMargin;
    const TMargins& hm = FHolderMargin;
    const double sp = FSpacing;
    const double W = FControl->width(), H = FControl->height();
    const double bandWidth = 2 * sp + FWidth, bandHeight = 2 * sp + FHeight;
    const double length = W - hm.Right() - hm.Left() - m.Left() - m.Right();
    const double tallness = H - hm.Bottom() - hm.Top() - m.Top() - m.Bottom();
    switch (FPosition) {
    case tpLeft:
        return RectF(m.Left() + hm.Left(), m.Top() + hm.Top(), bandWidth, tallness);
    case tpTop:
        return RectF(m.Left() + hm.Left(), m.Top() + hm.Top(), length, bandHeight);
    case tpRight:
        return RectF(W - m.Right() - hm.Right() - bandWidth, m.Top() + hm.Top(), bandWidth, tallness);
    case tpBottom:
        return RectF(m.Left() + hm.Left(), H - m.Bottom() - hm.Bottom() - bandHeight, length, bandHeight);
    }
    return {};
}

double TThumbnailBand::Reserved() const {
    if (!FVisible || FFloating)
        return 0;
    const TMargins& hm = FHolderMargin;
    return Horizontal(FPosition) ? hm.Top() + hm.Bottom() + 2 * FSpacing + FHeight
                                 : hm.Left() + hm.Right() + 2 * FSpacing + FWidth;
}

TGPRectF TThumbnailBand::Cell(int n) const {
    const TGPRectF band = FVisible ? HolderRect() : TGPRectF{};
    const bool horizontal = Horizontal(FPosition);
    const double sp = FSpacing;
    double x = band.X + sp - (horizontal ? FScrollPos : 0);
    double y = band.Y + sp - (horizontal ? 0 : FScrollPos);
    (horizontal ? x : y) += n * ((horizontal ? FWidth : FHeight) + sp);
    return RectF(x, y, FWidth, FHeight);
}

TGPRectF TThumbnailBand::ThumbRect(const TGPRectF& cell, QSize size) {
    return RectF(cell.X + 3 + (cell.Width - size.width() - 3) / 2,
                 cell.Y + 3 + (cell.Height - size.height() - 3) / 2, size.width() - 3, size.height() - 3);
}

void TThumbnailBand::SetCellCount(int count) {
    const TGPRectF band = FVisible ? HolderRect() : TGPRectF{};
    const bool horizontal = Horizontal(FPosition);
    const double cellLength = horizontal ? FWidth : FHeight;
    const double bandLength = horizontal ? band.Width : band.Height;
    FMaxScrollPos = std::max(0.0, (count + 1) * FSpacing + count * cellLength - bandLength);
}

void TThumbnailBand::ScrollTo(double position) {
    FScrollPos = std::clamp(position, 0.0, FMaxScrollPos);
    if (OnScroll)
        OnScroll();
    Repaint();
}

void TThumbnailBand::ScrollToCell(const TGPRectF& cell) {
    const TGPRectF band = HolderRect();
    const bool horizontal = Horizontal(FPosition);
    const double bandStart = horizontal ? band.X : band.Y, bandLength = horizontal ? band.Width : band.Height;
    const double cellStart = horizontal ? cell.X : cell.Y, cellLength = horizontal ? cell.Width : cell.Height;
    if (bandStart + bandLength < cellStart + cellLength)
        ScrollTo(cellLength + FScrollPos + cellStart + FSpacing - bandStart - bandLength);
    else if (bandStart > cellStart)
        ScrollTo(FScrollPos + cellStart - FSpacing - bandStart);
}

// Without the band there are no handles to see or to press.
bool TThumbnailBand::CanScrollLeft() const {
    return FVisible && Horizontal(FPosition) && FScrollPos > 0;
}
bool TThumbnailBand::CanScrollRight() const {
    return FVisible && Horizontal(FPosition) && FScrollPos < FMaxScrollPos;
}
bool TThumbnailBand::CanScrollUp() const {
    return FVisible && !Horizontal(FPosition) && FScrollPos > 0;
}
bool TThumbnailBand::CanScrollDown() const {
    return FVisible && !Horizontal(FPosition) && FScrollPos < FMaxScrollPos;
}

bool TThumbnailBand::HandleVisible(THandleSide side) const {
    switch (side) {
    case hsLeft:
        return CanScrollLeft();
    case hsRight:
        return CanScrollRight();
    case hsTop:
        return CanScrollUp();
    case hsBottom:
        return CanScrollDown();
    }
    return false;
}

bool TThumbnailBand::AnyHandleDown() const {
    return std::any_of(std::begin(FHandleDown), std::end(FHandleDown), [](bool down) { return down; });
}

void TThumbnailBand::Draw(TGPGraphics& g, int selected) {
    if (!FVisible)
        return;
    const TGPRectF band = HolderRect();
    FHolderFill->Fill(g, band);
    g.SetClip(band);
    for (int i = 0; i < FItems.Count(); ++i) {
        const TSlideShowItem* item = FItems.Items(i);
        if (!item->Visible() || item->Thumbnail().isNull() || !Overlap(item->ThumbItemRect(), band))
            continue;
        if (i == selected)
            FSelectedFill->Fill(g, item->ThumbItemRect());
        const TGPImage thumbnail(item->Thumbnail());
        g.DrawImage(&thumbnail, item->ThumbRect());
    }
    g.ResetClip();
    DrawHandles(g);
}

void TThumbnailBand::DrawHandles(TGPGraphics& g) {
    for (THandleSide side : kSides)
        if (HandleVisible(side))
            DrawHandle(g, side, HandleRect(side), FHandles, FHandleDown[side], FHandleHover[side]);
}

void TThumbnailBand::Repaint() {
    if (!FVisible)
        return;
    // The handles stick out of the band by half their size.
    const TGPRectF band = HolderRect();
    const double out = FHandles.Size() / 2.0 + 2;
    FControl->update(
        QRectF(band.X - out, band.Y - out, band.Width + 2 * out, band.Height + 2 * out).toAlignedRect());
}

int TThumbnailBand::ItemAt(double x, double y) const {
    const TGPRectF band = HolderRect();
    for (int i = 0; i < FItems.Count(); ++i) {
        const TSlideShowItem* item = FItems.Items(i);
        if (item->Selectable() && Contains(item->ThumbItemRect(), x, y) && Overlap(item->ThumbRect(), band))
            return i;
    }
    return -1;
}

bool TThumbnailBand::SetHoveredItem(int index) {
    return StoreChanged(FHoveredItem, index);
}

TGPRectF TThumbnailBand::HandleRect(THandleSide side) const {
    return lanterna::HandleRect(side, HolderRect(), FHandles.Size());
}

void TThumbnailBand::ScrollByHandles(bool onlyVisible) {
    const double across = FWidth + FSpacing, down = FHeight + FSpacing;
    const double steps[] = {-across, across, -down, down};
    for (THandleSide side : kSides)
        if (FHandleDown[side] && (!onlyVisible || HandleVisible(side)))
            ScrollTo(FScrollPos + steps[side]);
}

void TThumbnailBand::HandleTimerEvent() {
    if (!AnyHandleDown())
        return;
    if (++FTimeDownOnArrow < kRepeatAfterTicks)
        return;
    FDoHandleTimer = true;
    ScrollByHandles(true);
}

void TThumbnailBand::PressHandles(const QPointF& p) {
    FTimeDownOnArrow = 0;
    for (THandleSide side : kSides) {
        if (!HandleVisible(side))
            continue;
        FHandleDown[side] = Contains(HandleRect(side), p.x(), p.y());
        Repaint();
    }
    // The timer runs only while a handle is held.
    FHandleTimer->SetEnabled(AnyHandleDown());
}

bool TThumbnailBand::HoverHandles(const QPointF& p) {
    bool any = false;
    for (THandleSide side : kSides) {
        const bool hover = HandleVisible(side) && Contains(HandleRect(side), p.x(), p.y());
        any = any || hover;
        if (hover != FHandleHover[side]) {
            FHandleHover[side] = hover;
            Repaint();
        }
    }
    return any;
}

bool TThumbnailBand::ReleaseHandles() {
    FTimeDownOnArrow = 0;
    if (FDoHandleTimer)
        FDoHandleTimer = false; // the hold has scrolled already
    else
        ScrollByHandles(false);
    FHandleTimer->SetEnabled(false);
    if (!AnyHandleDown())
        return false;
    std::fill(std::begin(FHandleDown), std::end(FHandleDown), false);
    FControl->update();
    return true;
}

} // namespace lanterna
