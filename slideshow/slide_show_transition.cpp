// The steps of a transition: the animation timer moves the placeholder and then cross-fades the two
// pictures, one step per period of real time.
#include "slideshow/slide_show.h"

#include "slideshow/transition_steps.h"

namespace lanterna {

void TSlideShow::AnimateTimerEvent() {
    // A tick that comes late takes the steps of the periods it missed, so a transition keeps its
    // length in real time; the repaint requests of those steps merge into one paint.
    for (int steps = FStepClock.Tick(); steps > 0; --steps) {
        if (!ValidIndex(FItemIndex) || !FDoAnimation)
            return;
        if (StepPlaceHolder() && StepOpacity())
            FinishTransition();
    }
}

bool TSlideShow::StepPlaceHolder() {
    if (!FPlaceHolderVisible || !FTransitions.Contains(stPlaceHolder) || !ValidIndex(FItemIndex))
        return true;
    const TGPRectF& target = FItems->Items(FItemIndex)->PlaceHolderRect();
    TGPRectF current = FCurrentPlaceHolder;
    const bool moving = MovePlaceHolder(current, target, FHolderAnimationFactor);
    update();
    if (moving) {
        FAnimatePlaceHolder = true;
        FCurrentPlaceHolder = current;
        return false;
    }
    FCurrentItemIndex = FItemIndex;
    FCurrentPlaceHolder = target;
    FAnimatePlaceHolder = false;
    return true;
}

bool TSlideShow::StepOpacity() {
    TFadeOpacities fade{FCurrentOpacity, FCurrentOpacityTo, FNextOpacity, FNextOpacityTo};
    const bool moving = MoveOpacities(fade, FFadeAnimationFactor);
    update();
    if (moving) {
        FAnimateImage = true;
        FCurrentItemIndex = FPreviousItemIndex;
        FNextItemIndex = FItemIndex;
        FCurrentOpacity = fade.Current;
        FNextOpacity = fade.Next;
        return false;
    }
    FCurrentItemIndex = FNextItemIndex;
    FAnimateImage = false;
    FCurrentOpacity = FCurrentOpacityTo;
    FNextOpacity = FNextOpacityTo;
    return true;
}

} // namespace lanterna
