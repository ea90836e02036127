// The steps of a transition: the animation timer moves the placeholder and then cross-fades the two
// pictures, one step per period of real time.
#include "slideshow/slide_show.h"

namespace lanterna {

void TSlideShow::AnimateTimerEvent() {
    // A tick that comes late takes the steps of the periods it missed, so a transition keeps its
    // length in real time; the repaint requests of those steps merge into one paint.
    for (int steps = FTransition.Clock().Tick(); steps > 0; --steps) {
        if (!ValidIndex(FItemIndex) || !FTransition.Running())
            return;
        const bool arrived = StepPlaceHolder();
        if (arrived) {
            const bool faded = FTransition.StepOpacity(FFadeAnimationFactor, FItemIndex);
            update();
            if (faded)
                FinishTransition();
        }
    }
}

bool TSlideShow::StepPlaceHolder() {
    if (!FPlaceHolderVisible || !FTransitions.Contains(stPlaceHolder) || !ValidIndex(FItemIndex))
        return true;
    const bool arrived = FTransition.StepPlaceHolder(FItems->Items(FItemIndex)->PlaceHolderRect(),
                                                     FHolderAnimationFactor, FItemIndex);
    update();
    return arrived;
}

} // namespace lanterna
