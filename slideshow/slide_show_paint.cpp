// Painting of the slide show: the cached background, the placeholder, the one or two pictures of the
// moment and the description band over the current picture.
#include "slideshow/slide_show.h"

#include "drawing/fill.h"
#include "platform/timer.h"

#include <QTimer>

namespace lanterna {

void TSlideShow::paintEvent(QPaintEvent*) {
    TGPGraphics g(this);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    DrawBackground(g);
    DrawSlides(g);
    DrawThumbnails(g);
    // A picture drawn scaled on the fly while its copy is being made is drawn again from the copy once
    // it is there, also when no animation repaints.
    if (!FDoAnimation && FScaledPictures.Preparing())
        QTimer::singleShot(TTimer::kMinimumPeriod, this, [this] { update(); });
}

void TSlideShow::FillChanged() {
    FBackground.Invalidate();
    Changed();
}

void TSlideShow::DrawBackground(TGPGraphics& g) {
    FBackground.Draw(g, width(), height(), *FFill);
}

void TSlideShow::DrawSlides(TGPGraphics& g) {
    // A slide whose file is gone shows the background alone, not an empty frame.
    if (ValidIndex(FItemIndex) && FItems->Items(FItemIndex)->SourceLost())
        return;
    if (ValidIndex(FItemIndex)) {
        const bool moving = FTransitions.Contains(stPlaceHolder) && FAnimatePlaceHolder;
        DrawPlaceHolder(g, moving ? FCurrentPlaceHolder : FItems->Items(FItemIndex)->PlaceHolderRect());
    }
    if (!ValidIndex(FCurrentItemIndex))
        return;
    if (ValidIndex(FNextItemIndex) && FAnimateImage) {
        // The outgoing picture goes over the incoming one.
        DrawSlide(FNextItemIndex, g, FNextOpacity);
        DrawSlide(FCurrentItemIndex, g, FCurrentOpacity);
    } else if (ValidIndex(FNextItemIndex)) {
        const TSlideShowItem* item = FItems->Items(FNextItemIndex);
        // A live control shows itself.
        if (item->Kind() == ikControl && item->Control() && item->Control()->isVisible())
            return;
        DrawSlide(FNextItemIndex, g, 255);
    }
}

void TSlideShow::DrawPlaceHolder(TGPGraphics& g, const TGPRectF& r) {
    if (FPlaceHolderVisible)
        FPlaceHolderFill->Fill(g, r);
}

void TSlideShow::DrawSlide(int index, TGPGraphics& g, std::uint8_t opacity) {
    const TSlideShowItem* item = FItems->Items(index);
    const TGPRectF& r = item->ItemRect();
    const TPictureAnimation animation{FTransitions.Contains(stFade), FLoadEffect, effect};
    const bool animated = Animates(opacity, index == FCurrentItemIndex, animation);
    const QImage& original = item->OriginalImage();
    const QImage coarse = animated ? FScaledPictures.Coarse(original, r) : QImage();
    if (!DrawSlidePicture(g, FScaledPictures.Scaled(original, r), r, opacity, animated, animation, coarse))
        return;
    if (FShowDescription && FShowDes && index == FCurrentItemIndex)
        DrawDescription(g, item->Description(), *item->DescriptionFont(), item->DescriptionPosition(), r,
                        *FDescriptionFill);
}

} // namespace lanterna
