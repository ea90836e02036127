#include "tools/slideshow/stepped_show.h"

#include "drawing/fill.h"
#include "platform/timer.h"
#include "tools/slideshow/sheet_slides.h"

namespace lanterna {

TSteppedShow::TSteppedShow(int w, int h) {
    FShow.resize(w, h);
    FShow.SetRotation(false);
    FShow.SetThumbNails(false);
    FShow.SetHolderAnimationFactor(6);
    FShow.SetFadeAnimationFactor(10);
    // Shown, so that drawing a frame does not lay the control out again.
    FShow.show();
}

bool TSteppedShow::Load(const QStringList& files) {
    const bool loaded = LoadSlides(FShow, files);
    FShow.Transition().Clock().SetSource([this] { return FNow; });
    return loaded;
}

void TSteppedShow::Begin(int effect) {
    FShow.SetAnimations({static_cast<TSlideShowAnimation>(effect)});
    FShow.Next();
}

void TSteppedShow::StartFade(int effect) {
    Begin(effect);
    while (FShow.Transition().Running() && !FShow.Transition().AnimatingImage())
        Step();
}

void TSteppedShow::StepToOpacity(std::uint8_t opacity) {
    while (FShow.Transition().AnimatingImage() && FShow.Transition().NextOpacity() < opacity)
        Step();
}

void TSteppedShow::Step() {
    FNow += TTimer::kMinimumPeriod;
    FShow.AnimateTimerEvent();
    // Every frame is drawn from the same pictures, however busy the machine.
    FShow.FinishScaledPictures();
}

void SetGlowingBackground(TSlideShow& show) {
    TFill fill;
    fill.SetGradientType(gtRadial);
    fill.SetColor(RGBColor(40, 60, 110));
    fill.SetColorTo(RGBColor(5, 10, 30));
    fill.SetGlow(gmRadialGradient);
    show.SetFill(fill);
}

} // namespace lanterna
