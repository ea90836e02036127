// Layout of the slide show: the content rectangle, the picture fit, the placeholder and the
// thumbnail cells, the band scrolling that follows the selection, and the thumbnails' hints.
#include "slideshow/slide_show.h"

#include "slideshow/internal/aspect_fit.h"

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
    const double b = FBand.Reserved();
    const double x = m.Left() + s, y = m.Top() + s;
    const double w = width() - m.Left() - m.Right() - 2 * s;
    const double h = height() - m.Top() - m.Bottom() - 2 * s;
    switch (FBand.Position()) {
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

TPictureLayout TSlideShow::PictureLayout(const TGPRectF& content) const {
    return {{content.Width, content.Height}, {FAspectRatio, FItemMode}, double(FStretchPercentage)};
}

void TSlideShow::CalculateRects() {
    if (FItems->Count() == 0)
        return;
    const TGPRectF content = ContentRect();
    const TPictureLayout layout = PictureLayout(content);
    int laidOut = 0;
    for (int i = 0; i < FItems->Count(); ++i) {
        TSlideShowItem* item = FItems->Items(i);
        if (!item->Visible() || item->ThreadStatus() != stLoaded || item->PictureSize().isEmpty())
            continue;
        const TSizeD fit = FittedSize(layout, item->PictureSize());
        const TGPRectF itemRect = RectF(content.X + (content.Width - fit.Width) / 2,
                                        content.Y + (content.Height - fit.Height) / 2, fit.Width, fit.Height);
        const TGPRectF cell = FBand.Cell(laidOut++);
        const TGPRectF thumbRect = FBand.Visible() && !item->Thumbnail().isNull()
                                       ? TThumbnailBand::ThumbRect(cell, item->Thumbnail().size())
                                       : TGPRectF{};
        item->SetLayout(itemRect, Grown(itemRect, FPlaceHolderSpacing), cell, thumbRect);
        if (QWidget* control = item->Control(); item->Kind() == ikControl && control) {
            control->move(int(Round(itemRect.X + (itemRect.Width - control->width()) / 2.0)),
                          int(Round(itemRect.Y + (itemRect.Height - control->height()) / 2.0)));
        }
    }
    if (ValidIndex(FItemIndex))
        FTransition.SetCurrentPlaceHolder(FItems->Items(FItemIndex)->PlaceHolderRect());
    FBand.SetCellCount(laidOut);
}

void TSlideShow::ScrollTo(double position) {
    FBand.ScrollTo(position);
}

void TSlideShow::ScrollToItem(int index) {
    if (ValidIndex(index))
        FBand.ScrollToCell(FItems->Items(index)->ThumbItemRect());
}

QString TSlideShow::ThumbnailHint(double x, double y) {
    QString hint = toolTip();
    const int index = FBand.ItemAt(x, y);
    if (index < 0)
        return hint;
    if (const QString& own = FItems->Items(index)->Hint(); !own.isEmpty())
        hint = own;
    if (OnThumbHint)
        OnThumbHint(this, index, hint);
    return hint;
}

} // namespace lanterna
