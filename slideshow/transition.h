#pragma once
// A slide change in progress: which slides take part, the placeholder gliding toward the new slide's
// rectangle, the cross-fade's two opacities, the animation chosen, and the clock that paces the steps.
// The slide show decides when a change starts, steps and ends; this class keeps its state straight.

#include "platform/types.h"
#include "slideshow/slide_show_types.h"
#include "slideshow/step_clock.h"

namespace lanterna {

class TTransition {
public:
    explicit TTransition(double periodMs);

    // A change is under way: the animation timer steps it until it finishes.
    bool Running() const { return FRunning; }
    // The animation the change draws its pictures with (a TSlideShowAnimation), -1 for none.
    int Effect() const { return FEffect; }
    // The slide shown (outgoing while the pictures cross-fade), the incoming one, and the one that was
    // selected when the last selection was asked for.
    int CurrentItemIndex() const { return FCurrentItemIndex; }
    int NextItemIndex() const { return FNextItemIndex; }
    int PreviousItemIndex() const { return FPreviousItemIndex; }
    // Where the placeholder stands in this step.
    const TGPRectF& CurrentPlaceHolder() const { return FCurrentPlaceHolder; }
    // The placeholder is between its old and new rectangle; the pictures are cross-fading.
    bool AnimatingPlaceHolder() const { return FAnimatePlaceHolder; }
    bool AnimatingImage() const { return FAnimateImage; }
    std::uint8_t CurrentOpacity() const { return FFade.Current; }
    std::uint8_t NextOpacity() const { return FFade.Next; }
    // Paces the steps by real time; tests give it their own time source.
    TStepClock& Clock() { return FClock; }

    // A selection away from `itemIndex` is asked for.
    void Leave(int itemIndex) { FPreviousItemIndex = itemIndex; }
    // A change still running is dropped where it stands: `itemIndex` becomes the slide shown.
    void Interrupt(int itemIndex);
    // Starts a change toward `itemIndex` with `effect`, both opacities at their start and the clock at
    // zero; a `cut` shows the new slide at once, without a cross-fade.
    void Start(int itemIndex, int effect, bool cut);
    // One step of the placeholder toward `target` by 1/factor of the way; True once it has arrived,
    // and `itemIndex` is then the slide shown.
    bool StepPlaceHolder(const TGPRectF& target, int factor, int itemIndex);
    // One step of the cross-fade from the previous slide to `itemIndex`; True once it has finished.
    bool StepOpacity(int factor, int itemIndex);
    // The change is over: `itemIndex` stands, fully opaque.
    void Finish(int itemIndex);
    // The slides were renumbered: the three slides of the change are now at these indices.
    void Renumber(int current, int next, int previous);
    // The placeholder stands at `rect` (the selected slide's, after a layout or at the end).
    void SetCurrentPlaceHolder(const TGPRectF& rect) { FCurrentPlaceHolder = rect; }

private:
    bool FRunning = false;
    bool FAnimatePlaceHolder = false;
    bool FAnimateImage = false;
    int FEffect = -1;
    int FCurrentItemIndex = 0;
    int FNextItemIndex = 0;
    int FPreviousItemIndex = 0;
    TGPRectF FCurrentPlaceHolder;
    TFadeOpacities FFade;
    TStepClock FClock;
};

} // namespace lanterna
