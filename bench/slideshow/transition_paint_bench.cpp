// Time to paint one frame of a slide change, for each of the 28 animations, in a slide show of full-HD
// and of 4K size: the cached background, the placeholder and two pictures of the control's size
// fitted into it, drawn with their opacities as alpha. The slide change is stepped by hand between
// frames, so the frames run through the whole fade.

#include "platform/timer.h"
#include "slideshow/slide_show.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace lanterna {
namespace {

QImage Photo(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor::fromHsv((seed * 70) % 360, 200, 230));
    g.setColorAt(1, QColor::fromHsv((seed * 70 + 150) % 360, 160, 90));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 40; ++i)
        p.fillRect((i * 97 + seed * 31) % w, (i * 61) % h, w / 10, h / 12,
                   QColor::fromHsv((i * 37) % 360, 180, 200));
    return image;
}

// A slide show of the given size with two pictures of that size, set up as the player sets it: a
// radial background with glow, a white placeholder 40 pixels round the picture, no thumbnails.
class TFrames {
public:
    TFrames(int w, int h) : FTarget(w, h, QImage::Format_ARGB32_Premultiplied) {
        for (int i = 0; i < 2; ++i)
            Photo(w, h, i + 1).save(FFolder.filePath(QStringLiteral("%1.bmp").arg(i)));
        FShow.resize(w, h);
        FShow.SetRotation(false);
        FShow.SetThumbNails(false);
        TFill background;
        background.SetGradientType(gtRadial);
        background.SetColor(RGBColor(40, 60, 110));
        background.SetColorTo(RGBColor(5, 10, 30));
        background.SetGlow(gmRadialGradient);
        FShow.SetFill(background);
        FShow.SetHolderAnimationFactor(6);
        FShow.SetFadeAnimationFactor(10);
        FShow.show();
        FShow.BeginUpdate();
        for (int i = 0; i < 2; ++i)
            FShow.Items()->Add()->SetLocation(FFolder.filePath(QStringLiteral("%1.bmp").arg(i)));
        FShow.EndUpdate();
        // A busy machine decodes slowly; frames without their pictures would measure nothing useful.
        QDeadlineTimer deadline(300000);
        while (FShow.Loading() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        FLoaded = !FShow.Loading();
        FShow.AnimationClock().SetSource([this] { return FNow; });
    }

    // Starts a slide change with `effect` and steps it to the first frame of its fade.
    void Start(int effect) {
        FShow.SetAnimations({static_cast<TSlideShowAnimation>(effect)});
        FShow.Next();
        while (FShow.DoAnimation() && !FShow.AnimatingImage())
            Step();
    }
    void Step() {
        FNow += TTimer::kMinimumPeriod;
        FShow.AnimateTimerEvent();
    }
    bool Fading() const { return FShow.AnimatingImage(); }
    bool Loaded() const { return FLoaded; }
    void Paint() { FShow.render(&FTarget); }
    const QImage& Target() const { return FTarget; }

private:
    QTemporaryDir FFolder;
    TSlideShow FShow;
    QImage FTarget;
    double FNow = 0;
    bool FLoaded = false;
};

TFrames& Frames(int w, int h) {
    static std::map<std::pair<int, int>, std::unique_ptr<TFrames>> frames;
    auto& f = frames[{w, h}];
    if (!f)
        f = std::make_unique<TFrames>(w, h);
    return *f;
}

void TransitionFrame(benchmark::State& state) {
    const int effect = int(state.range(0));
    TFrames& frames = Frames(int(state.range(1)), int(state.range(2)));
    if (!frames.Loaded()) {
        state.SkipWithError("the pictures did not load in time");
        return;
    }
    frames.Start(effect);
    frames.Paint(); // renders the background into its cache
    for (auto _ : state) {
        frames.Paint();
        benchmark::DoNotOptimize(frames.Target().constBits());
        frames.Step();
        if (!frames.Fading()) {
            state.PauseTiming();
            frames.Start(effect);
            state.ResumeTiming();
        }
    }
    state.SetLabel(std::to_string(state.range(1)) + "x" + std::to_string(state.range(2)));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int effect = 0; effect < kAnimationMemberCount; ++effect)
        for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}})
            b->Args({effect, w, h});
}

// Process time: the painting library spreads large draws over worker threads, which all count.
BENCHMARK(TransitionFrame)
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.3)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace lanterna
