// Time to paint one frame of a slide change, for each of the 28 animations, in a slide show of full-HD
// and of 4K size: the cached background, the placeholder and two pictures of the control's size
// fitted into it, drawn with their opacities as alpha. The slide change is stepped by hand between
// frames. Each iteration paints one whole fade and reports the mean over its frames: the frames of a
// fade differ in cost (filtered near its ends, sampled in between), so timing a number of frames that
// is not a whole fade would depend on where the count happens to stop.

#include "bench/bench_main.h"
#include "bench/bench_support.h"
#include "tools/slideshow/stepped_show.h"

#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
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
    TFrames(int w, int h) : FTarget(w, h, QImage::Format_ARGB32_Premultiplied), FStepped(w, h) {
        SetGlowingBackground(FStepped.Show());
        QStringList files;
        for (int i = 0; i < 2; ++i) {
            files << FFolder.filePath(QStringLiteral("%1.bmp").arg(i));
            Photo(w, h, i + 1).save(files.back());
        }
        FLoaded = FStepped.Load(files);
    }

    // Starts a slide change with `effect` and steps it to the first frame of its fade.
    void Start(int effect) { FStepped.StartFade(effect); }
    void Step() { FStepped.Step(); }
    bool Fading() const { return FStepped.Fading(); }
    bool Loaded() const { return FLoaded; }
    void Paint() { FStepped.Show().render(&FTarget); }
    const QImage& Target() const { return FTarget; }

private:
    QTemporaryDir FFolder;
    QImage FTarget;
    TSteppedShow FStepped;
    bool FLoaded = false;
};

TFrames& Frames(int w, int h) {
    static std::map<std::pair<int, int>, std::unique_ptr<TFrames>> frames;
    if (frames.empty())
        bench::ReleaseBeforeExit([] { frames.clear(); });
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
    std::int64_t painted = 0;
    double painting = 0;
    for (auto _ : state) {
        frames.Start(effect);
        int count = 0;
        // Processor time of the whole process: the painting library spreads large draws over worker
        // threads, which all count.
        const double start = bench::ProcessCpuSeconds(), startHere = bench::ThreadCpuSeconds();
        for (; frames.Fading(); ++count) {
            frames.Paint();
            benchmark::DoNotOptimize(frames.Target().constBits());
            frames.Step();
        }
        state.SetIterationTime((bench::ProcessCpuSeconds() - start) / std::max(count, 1));
        painted += count;
        painting += bench::ThreadCpuSeconds() - startHere;
    }
    state.counters["frames"] = benchmark::Counter(double(painted) / double(state.iterations()));
    // The painting thread's own share, in ms per frame; the rest is the workers'.
    state.counters["painter_ms"] =
        benchmark::Counter(1000 * painting / double(std::max<std::int64_t>(painted, 1)));
    state.SetLabel(std::to_string(state.range(1)) + "x" + std::to_string(state.range(2)));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int effect = 0; effect < kAnimationMemberCount; ++effect)
        for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}})
            b->Args({effect, w, h});
}

BENCHMARK(TransitionFrame)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(2)->UseManualTime();

} // namespace
} // namespace lanterna
