// Painting of the slide show: the cached background, the placeholder, the one or two pictures of the
// moment and the description band over the current picture.
#include "slideshow/slide_show.h"

#include "drawing/fill.h"
#include "platform/timer.h"
#include "slideshow/internal/scaled_pictures.h"

#include <QTimer>

#include <cmath>

namespace lanterna {

void TSlideShow::paintEvent(QPaintEvent*) {
    TGPGraphics g(this);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    const std::optional<TGPRectF> placeHolder = PlaceHolderShown();
    DrawBackground(g, placeHolder);
    DrawSlides(g, placeHolder);
    FBand.Draw(g, FItemIndex);
    // A picture drawn scaled on the fly while its copy is being made is drawn again from the copy once
    // it is there, also when no animation repaints.
    if (!FTransition.Running() && FScaledPictures->Preparing())
        QTimer::singleShot(TTimer::kMinimumPeriod, this, [this] { update(); });
}

void TSlideShow::FinishScaledPictures() {
    FScaledPictures->Finish();
}

void TSlideShow::FillChanged() {
    FBackground.Invalidate();
    Changed();
}

std::optional<TGPRectF> TSlideShow::PlaceHolderShown() const {
    // A slide whose file is gone shows the background alone, not an empty frame.
    if (!FPlaceHolderVisible || !ValidIndex(FItemIndex) || FItems->Items(FItemIndex)->SourceLost())
        return std::nullopt;
    const bool moving = FTransitions.Contains(stPlaceHolder) && FTransition.AnimatingPlaceHolder();
    return moving ? FTransition.CurrentPlaceHolder() : FItems->Items(FItemIndex)->PlaceHolderRect();
}

void TSlideShow::DrawBackground(TGPGraphics& g, const std::optional<TGPRectF>& placeHolder) {
    // The pixels wholly inside an opaque placeholder are left out, since the placeholder paints over
    // them next: at full screen, copying the background under it cost a copy of the screen a frame.
    QRect covered;
    if (placeHolder && placeHolder->Width > 1 && placeHolder->Height > 1 &&
        FPlaceHolderFill->PaintsOpaqueBody()) {
        const int left = int(std::ceil(placeHolder->X)), top = int(std::ceil(placeHolder->Y));
        covered = QRect(QPoint(left, top), QPoint(int(std::floor(placeHolder->X + placeHolder->Width)) - 1,
                                                  int(std::floor(placeHolder->Y + placeHolder->Height)) - 1));
    }
    FBackground.Draw(g, width(), height(), *FFill, covered);
}

void TSlideShow::DrawSlides(TGPGraphics& g, const std::optional<TGPRectF>& placeHolder) {
    if (ValidIndex(FItemIndex) && FItems->Items(FItemIndex)->SourceLost())
        return;
    if (placeHolder)
        FPlaceHolderFill->Fill(g, *placeHolder);
    const int current = FTransition.CurrentItemIndex(), next = FTransition.NextItemIndex();
    if (!ValidIndex(current))
        return;
    if (ValidIndex(next) && FTransition.AnimatingImage()) {
        // The outgoing picture goes over the incoming one.
        DrawSlide(next, g, FTransition.NextOpacity());
        DrawSlide(current, g, FTransition.CurrentOpacity());
    } else if (ValidIndex(next)) {
        const TSlideShowItem* item = FItems->Items(next);
        // A live control shows itself.
        if (item->Kind() == ikControl && item->Control() && item->Control()->isVisible())
            return;
        DrawSlide(next, g, 255);
    }
}

void TSlideShow::DrawSlide(int index, TGPGraphics& g, std::uint8_t opacity) {
    const TSlideShowItem* item = FItems->Items(index);
    const TGPRectF& r = item->ItemRect();
    const bool current = index == FTransition.CurrentItemIndex();
    const TPictureAnimation animation{FTransitions.Contains(stFade), FLoadEffect, FTransition.Effect()};
    const bool animated = Animates(opacity, current, animation);
    const QImage& original = item->OriginalImage();
    const QImage coarse = animated ? FScaledPictures->Coarse(original, r) : QImage();
    if (!DrawSlidePicture(g, FScaledPictures->Scaled(original, r), r, opacity, animated, animation, coarse))
        return;
    if (FShowDescription && FShowDes && current)
        DrawDescription(g, item->Description(), *item->DescriptionFont(), item->DescriptionPosition(), r,
                        *FDescriptionFill);
}

} // namespace lanterna
