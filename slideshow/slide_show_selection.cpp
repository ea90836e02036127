// Selection of a slide, the start and end of the transition to it, and the rotation.
#include "slideshow/slide_show.h"

#include "platform/timer.h"
#include "slideshow/animation_geometry.h"
#include "slideshow/internal/scaled_pictures.h"
#include "slideshow/internal/selection_step.h"
#include "slideshow/internal/transition_steps.h"

namespace lanterna {

namespace {

// Whether a slide change may turn its pictures: one of the animations it picks from does.
bool MayTurn(TSlideShowAnimations animations) {
    for (int effect = 0; effect < kAnimationMemberCount; ++effect)
        if (animations.Contains(TSlideShowAnimation(effect)) && TurnsOrScales(effect))
            return true;
    return false;
}

} // namespace

void TSlideShow::SetItemIndex(int value) {
    Select(value, FItemIndex < value);
}

void TSlideShow::Select(int value, bool forward) {
    FTransition.Leave(FItemIndex);
    const int a = ResolveSelection(value, forward, FItems->Count(), [this](int i) { return Selectable(i); });
    if (a < 0 || value == FItemIndex)
        return;
    FTransition.Interrupt(FItemIndex);
    FItemIndex = a;
    ScrollToItem(a);
    StartTransition();
    ScheduleLoad();
}

void TSlideShow::StartTransition() {
    FTransition.Start(FItemIndex, RandomAnimation(FAnimations), FTransitions.Empty() || !FAnimation);
    if (const int leaving = FTransition.PreviousItemIndex(); ValidIndex(leaving)) {
        TSlideShowItem* previous = FItems->Items(leaving);
        if (previous->Kind() == ikControl && previous->Control()) {
            previous->Control()->hide();
            previous->Update();
        }
    }
    if (FAnimation) {
        PrepareTransitionPictures();
        FRotateTimer->SetEnabled(false);
        UpdateAnimateTimer();
    } else {
        // Without animation nothing would ever end the transition: the new slide stands at once,
        // and the rotation and the loader go on.
        FinishTransition();
    }
}

void TSlideShow::PrepareTransitionPictures() {
    // The incoming picture is scaled to the size it is drawn at on a worker while the transition
    // starts, not on the user-interface thread in the first frame of the fade. An animation that turns
    // its pictures reads them from coarse copies while they turn fast, which the outgoing picture may
    // still lack.
    if (!FTransition.Running())
        return;
    const bool coarse = TurnsOrScales(FTransition.Effect());
    for (int index : {FItemIndex, FTransition.CurrentItemIndex()})
        if (ValidIndex(index))
            FScaledPictures->Prepare(FItems->Items(index)->OriginalImage(), FItems->Items(index)->ItemRect(),
                                     coarse);
}

int TSlideShow::RotationTarget() const {
    // After the last slide the rotation starts again at the first, and moves on forward from there:
    // a first slide that cannot be selected must not send it back to the last one.
    return FItemIndex + 1 == FItems->Count() ? 0 : FItemIndex + 1;
}

void TSlideShow::PrepareFollowingPicture() {
    // While a slide stands, the picture of the slide that follows is scaled ahead, so that its
    // transition draws the scaled copy from the first frame and no worker scales at the same time;
    // without animations, its first paint does not scale it on the user-interface thread. When the
    // change may turn its pictures, both its pictures get their coarse copies now too, not while they
    // turn: the one standing, which the change will turn out, may have come in without one.
    if (FTransition.Running() || !ValidIndex(FItemIndex))
        return;
    const bool coarse = MayTurn(FAnimations);
    const int following =
        ResolveSelection(RotationTarget(), true, FItems->Count(), [this](int i) { return Selectable(i); });
    const auto prepare = [&](int index) {
        FScaledPictures->Prepare(FItems->Items(index)->OriginalImage(), FItems->Items(index)->ItemRect(),
                                 coarse);
    };
    if (ValidIndex(following) && following != FItemIndex)
        prepare(following);
    if (coarse)
        prepare(FItemIndex);
}

bool TSlideShow::PictureScaled(int index, bool coarse) const {
    return ValidIndex(index) && FScaledPictures->Kept(FItems->Items(index)->OriginalImage(),
                                                      FItems->Items(index)->ItemRect(), coarse);
}

void TSlideShow::FinishTransition() {
    FTransition.Finish(FItemIndex);
    if (ValidIndex(FItemIndex)) {
        FTransition.SetCurrentPlaceHolder(FItems->Items(FItemIndex)->PlaceHolderRect());
        TSlideShowItem* item = FItems->Items(FItemIndex);
        if (item->Kind() == ikControl && item->Control())
            item->Control()->show();
    }
    if (FRotation)
        FRotateTimer->SetEnabled(true);
    UpdateAnimateTimer();
    update();
    ScheduleLoad();
    PrepareFollowingPicture();
}

void TSlideShow::UpdateAnimateTimer() {
    FAnimateTimer->SetEnabled(FAnimation && FTransition.Running());
}

void TSlideShow::Next() {
    SetItemIndex(FItemIndex + 1);
}

void TSlideShow::Previous() {
    SetItemIndex(FItemIndex - 1);
}

void TSlideShow::RotateTimerEvent() {
    Select(RotationTarget(), true);
}

} // namespace lanterna
