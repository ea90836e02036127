// Layout of the slide show: the content rectangle, the picture fit, the placeholder and the
// thumbnail cells, and the band scrolling that follows the selection.
#include "slideshow/slide_show.h"

#include "slideshow/aspect_fit.h"

#include <algorithm>

namespace lanterna {

namespace {

TGPRectF RectF(double x, double y, double width, double height) {
    return {float(x), float(y), float(width), float(height)};
}

TGPRectF Grown(const TGPRectF& r, double by) {
    return RectF(r.X - by, r.Y - by, r.Width + 2 * by, r.Height + 2 * by);
}

} // namespace

TSizeD TSlideShow::GetAspectSize(double pw, double ph, double bw, double bh, double percentage) const {
    return AspectSize({FAspectRatio, FItemMode}, pw, ph, bw, bh, percentage);
}

TGPRectF TSlideShow::ContentRect() const {
    const double s = FPlaceHolderSpacing;
    const TMargins& m = FMargin;
    const TMargins& hm = FThumbNailHolderMargin;
    double b = 0;
    if (FThumbNails && !FThumbNailsFloating)
        b = Horizontal(FThumbnailPosition) ? hm.Top() + hm.Bottom() + 2 * FThumbNailSpacing + FThumbNailHeight
                                           : hm.Left() + hm.Right() + 2 * FThumbNailSpacing + FThumbNailWidth;
    const double x = m.Left() + s, y = m.Top() + s;
    const double w = width() - m.Left() - m.Right() - 2 * s;
    const double h = height() - m.Top() - m.Bottom() - 2 * s;
    switch (FThumbnailPosition) {
    case tpLeft:
        return RectF(x + b, y, w - b, h);
    case tpTop:
        return RectF(x, y + b, w, h - b);
    case tpRight:
        return RectF(x, y, w - b, h);
    case tpBottom:
        return RectF(x, y, w, h - b);
    }
    return {};
}

TGPRectF TSlideShow::GetThumbnailHolderRect() const {
    const TMargins& m = FMargin;
    const TMargins& hm = FThumbNailHolderMargin;
    const double sp = FThumbNailSpacing;
    const double W = width(), H = height();
    const double bandWidth = 2 * sp + FThumbNailWidth, bandHeight = 2 * sp + FThumbNailHeight;
    const double length = W - hm.Right() - hm.Left() - m.Left() - m.Right();
    const double tallness = H - hm.Bottom() - hm.Top() - m.Top() - m.Bottom();
    switch (FThumbnailPosition) {
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

void TSlideShow::CalculateRects() {
    if (FItems->Count() == 0)
        return;
    const TGPRectF content = ContentRect();
    const TGPRectF band = FThumbNails ? GetThumbnailHolderRect() : TGPRectF{};
    const bool horizontal = Horizontal(FThumbnailPosition);
    const double sp = FThumbNailSpacing;
    double cellX = band.X + sp - (horizontal ? FScrollPos : 0);
    double cellY = band.Y + sp - (horizontal ? 0 : FScrollPos);
    int laidOut = 0;
    for (int i = 0; i < FItems->Count(); ++i) {
        TSlideShowItem* item = FItems->Items(i);
        if (!item->Visible() || item->ThreadStatus() != stLoaded || item->PictureSize().isEmpty())
            continue;
        ++laidOut;
        const QSize picture = item->PictureSize();
        const TSizeD fit = GetAspectSize(picture.width(), picture.height(), content.Width, content.Height,
                                         FStretchPercentage);
        const TGPRectF itemRect = RectF(content.X + (content.Width - fit.Width) / 2,
                                        content.Y + (content.Height - fit.Height) / 2, fit.Width, fit.Height);
        const TGPRectF cell = RectF(cellX, cellY, FThumbNailWidth, FThumbNailHeight);
        (horizontal ? cellX : cellY) += (horizontal ? FThumbNailWidth : FThumbNailHeight) + sp;
        const QSize thumb = item->Thumbnail().size();
        const TGPRectF thumbRect = FThumbNails && !item->Thumbnail().isNull()
                                       ? RectF(cell.X + 3 + (cell.Width - thumb.width() - 3) / 2,
                                               cell.Y + 3 + (cell.Height - thumb.height() - 3) / 2,
                                               thumb.width() - 3, thumb.height() - 3)
                                       : TGPRectF{};
        item->SetLayout(itemRect, Grown(itemRect, FPlaceHolderSpacing), cell, thumbRect);
        if (QWidget* control = item->Control(); item->Kind() == ikControl && control) {
            control->move(int(Round(itemRect.X + (itemRect.Width - control->width()) / 2.0)),
                          int(Round(itemRect.Y + (itemRect.Height - control->height()) / 2.0)));
        }
    }
    if (ValidIndex(FItemIndex))
        FCurrentPlaceHolder = FItems->Items(FItemIndex)->PlaceHolderRect();
    const double cellLength = horizontal ? FThumbNailWidth : FThumbNailHeight;
    const double bandLength = horizontal ? band.Width : band.Height;
    FMaxScrollPos = std::max(0.0, (laidOut + 1) * sp + laidOut * cellLength - bandLength);
}

void TSlideShow::ScrollTo(double position) {
    if (position >= FMaxScrollPos)
        position = FMaxScrollPos;
    if (position < 0)
        position = 0;
    FScrollPos = position;
    CalculateRects();
    RepaintThumbnails();
}

void TSlideShow::ScrollToItem(int index) {
    if (!ValidIndex(index))
        return;
    const TGPRectF band = GetThumbnailHolderRect();
    const TGPRectF& cell = FItems->Items(index)->ThumbItemRect();
    const bool horizontal = Horizontal(FThumbnailPosition);
    const double bandStart = horizontal ? band.X : band.Y, bandLength = horizontal ? band.Width : band.Height;
    const double cellStart = horizontal ? cell.X : cell.Y, cellLength = horizontal ? cell.Width : cell.Height;
    if (bandStart + bandLength < cellStart + cellLength)
        ScrollTo(cellLength + FScrollPos + cellStart + FThumbNailSpacing - bandStart - bandLength);
    else if (bandStart > cellStart)
        ScrollTo(FScrollPos + cellStart - FThumbNailSpacing - bandStart);
}

} // namespace lanterna
