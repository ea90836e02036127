// Time to paint one frame of a slide change, for each of the 28 animations: the cached background, the
// placeholder and two screen-sized pictures fitted into the control, drawn with their opacities.

#include "slideshow/scaled_pictures.h"
#include "slideshow/slide_painter.h"
#include "slideshow/slide_show_types.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace lanterna {
namespace {

QImage Photo(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
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

// A control of the given size showing two pictures of its own size: margin 10, placeholder spacing 40.
struct Frame {
    Frame(int w, int h) : Width(w), Height(h), Target(w, h, QImage::Format_ARGB32_Premultiplied) {
        Background.SetGradientType(gtRadial);
        Background.SetColor(RGBColor(40, 60, 110));
        Background.SetColorTo(RGBColor(5, 10, 30));
        Background.SetGlow(gmRadialGradient);
        PlaceHolder.SetGradientType(gtSolid);
        PlaceHolder.SetColor(clWhite);
        PlaceHolder.SetColorTo(clWhite);
        PlaceHolder.SetBorderColor(clSilver);
        const double content = w - 100.0, contentH = h - 100.0;
        const double scale = std::min(content / w, contentH / h);
        Item = {float(50 + (content - w * scale) / 2), float(50 + (contentH - h * scale) / 2),
                float(w * scale), float(h * scale)};
        Holder = {Item.X - 40, Item.Y - 40, Item.Width + 80, Item.Height + 80};
        Incoming = Photo(w, h, 1);
        Outgoing = Photo(w, h, 2);
    }

    void Paint(int effect, std::uint8_t incomingOpacity) {
        TGPGraphics g(Target);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        Cache.Draw(g, Width, Height, Background);
        PlaceHolder.Fill(g, Holder);
        const TPictureAnimation animation{true, true, effect};
        DrawSlidePicture(g, Scaled.Scaled(Incoming, Item), Item, incomingOpacity, true, animation);
        DrawSlidePicture(g, Scaled.Scaled(Outgoing, Item), Item, std::uint8_t(255 - incomingOpacity), true,
                         animation);
    }

    int Width, Height;
    QImage Target;
    TFill Background, PlaceHolder;
    TBackgroundCache Cache;
    TScaledPictures Scaled;
    QImage Incoming, Outgoing;
    TGPRectF Item, Holder;
};

void TransitionFrame(benchmark::State& state) {
    const int effect = int(state.range(0));
    Frame frame(int(state.range(1)), int(state.range(2)));
    frame.Paint(effect, 128); // renders the background cache
    // Frames across the fade, as a transition paints them.
    const std::uint8_t opacities[] = {26, 70, 105, 134, 157, 176, 200, 230};
    std::size_t i = 0;
    for (auto _ : state) {
        frame.Paint(effect, opacities[i++ % std::size(opacities)]);
        benchmark::DoNotOptimize(frame.Target.constBits());
    }
    state.SetLabel(std::to_string(state.range(1)) + "x" + std::to_string(state.range(2)));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int effect = 0; effect < kAnimationMemberCount; ++effect)
        for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}})
            b->Args({effect, w, h});
}

BENCHMARK(TransitionFrame)
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.3)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace lanterna

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
