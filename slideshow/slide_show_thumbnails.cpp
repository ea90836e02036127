// The thumbnail band of the slide show: its painting, the round scroll handles at its ends with their
// press-and-hold repeat, and which thumbnail or hint lies under a point.
#include "slideshow/slide_show.h"

#include "drawing/fill.h"
#include "platform/timer.h"

#include <algorithm>

namespace lanterna {

namespace {

// Ticks of the 10 ms handle timer before a held handle starts repeating.
constexpr int kRepeatAfterTicks = 10;

constexpr THandleSide kSides[] = {hsLeft, hsRight, hsTop, hsBottom};

// The larger left edge lies left of the smaller right edge, and likewise vertically.
bool Overlap(const TGPRectF& a, const TGPRectF& b) {
    return std::max(a.X, b.X) < std::min(a.X + a.Width, b.X + b.Width) &&
           std::max(a.Y, b.Y) < std::min(a.Y + a.Height, b.Y + b.Height);
}

} // namespace

TGPRectF TSlideShow::ThumbnailHandleRect(THandleSide side) const {
    return lanterna::HandleRect(side, GetThumbnailHolderRect(), FThumbNailHandles.Size());
}

// Without the band there are no handles to see or to press.
bool TSlideShow::CanScrollLeft() const {
    return FThumbNails && Horizontal(FThumbnailPosition) && FScrollPos > 0;
}
bool TSlideShow::CanScrollRight() const {
    return FThumbNails && Horizontal(FThumbnailPosition) && FScrollPos < FMaxScrollPos;
}
bool TSlideShow::CanScrollUp() const {
    return FThumbNails && !Horizontal(FThumbnailPosition) && FScrollPos > 0;
}
bool TSlideShow::CanScrollDown() const {
    return FThumbNails && !Horizontal(FThumbnailPosition) && FScrollPos < FMaxScrollPos;
}

bool TSlideShow::HandleVisible(THandleSide side) const {
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

bool TSlideShow::AnyHandleDown() const {
    return std::any_of(std::begin(FHandleDown), std::end(FHandleDown), [](bool down) { return down; });
}

void TSlideShow::DrawThumbnails(TGPGraphics& g) {
    if (!FThumbNails)
        return;
    const TGPRectF band = GetThumbnailHolderRect();
    FThumbNailHolderFill->Fill(g, band);
    g.SetClip(band);
    for (int i = 0; i < FItems->Count(); ++i) {
        const TSlideShowItem* item = FItems->Items(i);
        if (!item->Visible() || item->Thumbnail().isNull() || !Overlap(item->ThumbItemRect(), band))
            continue;
        if (i == FItemIndex)
            FThumbNailSelectedFill->Fill(g, item->ThumbItemRect());
        const TGPImage thumbnail(item->Thumbnail());
        g.DrawImage(&thumbnail, item->ThumbRect());
    }
    g.ResetClip();
    DrawThumbnailHandles(g);
}

void TSlideShow::DrawThumbnailHandles(TGPGraphics& g) {
    for (THandleSide side : kSides)
        if (HandleVisible(side))
            DrawHandle(g, side, ThumbnailHandleRect(side), FThumbNailHandles, FHandleDown[side],
                       FHandleHover[side]);
}

void TSlideShow::RepaintThumbnails() {
    if (!FThumbNails)
        return;
    // The handles stick out of the band by half their size.
    const TGPRectF band = GetThumbnailHolderRect();
    const double out = FThumbNailHandles.Size() / 2.0 + 2;
    update(QRectF(band.X - out, band.Y - out, band.Width + 2 * out, band.Height + 2 * out).toAlignedRect());
}

int TSlideShow::ThumbnailAtXY(double x, double y) const {
    const TGPRectF band = GetThumbnailHolderRect();
    for (int i = 0; i < FItems->Count(); ++i) {
        const TSlideShowItem* item = FItems->Items(i);
        if (Selectable(i) && Contains(item->ThumbItemRect(), x, y) && Overlap(item->ThumbRect(), band))
            return i;
    }
    return -1;
}

QString TSlideShow::ThumbnailHint(double x, double y) {
    QString hint = toolTip();
    const int index = ThumbnailAtXY(x, y);
    if (index < 0)
        return hint;
    if (const QString& own = FItems->Items(index)->Hint(); !own.isEmpty())
        hint = own;
    if (OnThumbHint)
        OnThumbHint(this, index, hint);
    return hint;
}

void TSlideShow::ScrollByHandles(bool onlyVisible) {
    const double across = FThumbNailWidth + FThumbNailSpacing, down = FThumbNailHeight + FThumbNailSpacing;
    const double steps[] = {-across, across, -down, down};
    for (THandleSide side : kSides)
        if (FHandleDown[side] && (!onlyVisible || HandleVisible(side)))
            ScrollTo(FScrollPos + steps[side]);
}

void TSlideShow::HandleTimerEvent() {
    if (!AnyHandleDown())
        return;
    if (++FTimeDownOnArrow < kRepeatAfterTicks)
        return;
    FDoHandleTimer = true;
    ScrollByHandles(true);
}

void TSlideShow::PressHandles(const QPointF& p) {
    FTimeDownOnArrow = 0;
    for (THandleSide side : kSides) {
        if (!HandleVisible(side))
            continue;
        FHandleDown[side] = Contains(ThumbnailHandleRect(side), p.x(), p.y());
        RepaintThumbnails();
    }
    // The timer runs only while a handle is held.
    FHandleTimer->SetEnabled(AnyHandleDown());
}

bool TSlideShow::HoverHandles(const QPointF& p) {
    bool any = false;
    for (THandleSide side : kSides) {
        const bool hover = HandleVisible(side) && Contains(ThumbnailHandleRect(side), p.x(), p.y());
        any = any || hover;
        if (hover != FHandleHover[side]) {
            FHandleHover[side] = hover;
            RepaintThumbnails();
        }
    }
    return any;
}

bool TSlideShow::ReleaseHandles() {
    FTimeDownOnArrow = 0;
    if (FDoHandleTimer)
        FDoHandleTimer = false; // the hold has scrolled already
    else
        ScrollByHandles(false);
    FHandleTimer->SetEnabled(false);
    if (!AnyHandleDown())
        return false;
    std::fill(std::begin(FHandleDown), std::end(FHandleDown), false);
    update();
    return true;
}

} // namespace lanterna
