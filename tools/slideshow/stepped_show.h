#pragma once
// A slide show whose animation clock is moved by hand, one timer period a step, so that a slide change
// can be stopped at any frame and drawn: what the contact sheet, the quality check and the transition
// benchmark look at.

#include "slideshow/slide_show.h"

#include <QStringList>

namespace lanterna {

class TSteppedShow {
public:
    // A shown slide show of w x h, set up as the player sets it: placeholder factor 6, fade factor 10,
    // no rotation, no thumbnails.
    TSteppedShow(int w, int h);
    Q_DISABLE_COPY_MOVE(TSteppedShow)

    // Adds one slide per file and waits for the loader, then hands the animation clock to Step; False
    // when the loader did not finish in time.
    bool Load(const QStringList& files);
    // Selects the next slide with `effect` as the only animation; the first Step starts the change.
    void Begin(int effect);
    // Selects the next slide with `effect` and steps the change to the first frame of its fade.
    void StartFade(int effect);
    // Steps the change until the incoming picture's opacity reaches at least `opacity` or the fade ends.
    void StepToOpacity(std::uint8_t opacity);
    // One period of the animation timer.
    void Step();
    bool Fading() const { return FShow.Transition().AnimatingImage(); }
    TSlideShow& Show() { return FShow; }

private:
    TSlideShow FShow;
    double FNow = 0;
};

// Sets the dark radial background with glow that the benchmark and the quality check draw over.
void SetGlowingBackground(TSlideShow& show);

} // namespace lanterna
