#include "slideshow/transition.h"

#include "slideshow/internal/transition_steps.h"

namespace lanterna {

TTransition::TTransition(double periodMs) : FClock(periodMs) {}

void TTransition::Interrupt(int itemIndex) {
    if (!FRunning)
        return;
    FRunning = false;
    FCurrentItemIndex = itemIndex;
}

void TTransition::Start(int itemIndex, int effect, bool cut) {
    FRunning = true;
    FFade = TFadeOpacities{};
    FEffect = effect;
    if (cut)
        FCurrentItemIndex = itemIndex;
    FClock.Start();
}

bool TTransition::StepPlaceHolder(const TGPRectF& target, int factor, int itemIndex) {
    TGPRectF current = FCurrentPlaceHolder;
    if (MovePlaceHolder(current, target, factor)) {
        FAnimatePlaceHolder = true;
        FCurrentPlaceHolder = current;
        return false;
    }
    FCurrentItemIndex = itemIndex;
    FCurrentPlaceHolder = target;
    FAnimatePlaceHolder = false;
    return true;
}

bool TTransition::StepOpacity(int factor, int itemIndex) {
    TFadeOpacities fade = FFade;
    if (MoveOpacities(fade, factor)) {
        FAnimateImage = true;
        FCurrentItemIndex = FPreviousItemIndex;
        FNextItemIndex = itemIndex;
        FFade.Current = fade.Current;
        FFade.Next = fade.Next;
        return false;
    }
    FCurrentItemIndex = FNextItemIndex;
    FAnimateImage = false;
    FFade.Current = FFade.CurrentTo;
    FFade.Next = FFade.NextTo;
    return true;
}

void TTransition::Renumber(int current, int next, int previous) {
    FCurrentItemIndex = current;
    FNextItemIndex = next;
    FPreviousItemIndex = previous;
}

void TTransition::Finish(int itemIndex) {
    FRunning = false;
    FAnimatePlaceHolder = false;
    FAnimateImage = false;
    FCurrentItemIndex = itemIndex;
    FNextItemIndex = itemIndex;
    FFade.Current = FFade.CurrentTo;
    FFade.Next = FFade.NextTo;
}

} // namespace lanterna
