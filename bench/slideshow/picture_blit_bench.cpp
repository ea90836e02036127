// Time of our resampler alone: a 4K picture turned by a given angle and drawn over a 4K surface, with
// nearest and filtered sampling, by the wide vector loop or (last argument 0) the portable one; the
// angle shows what reading the picture along a slant costs.

#include "slideshow/picture_blit.h"
#include "testing/pictures.h"

#include <benchmark/benchmark.h>

namespace lanterna {
namespace {

void TurnedPicture(benchmark::State& state) {
    static const QImage picture =
        testing::PhotoLike(3760, 2080, 1).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage target(3840, 2160, QImage::Format_RGB32);
    target.fill(Qt::black);
    QTransform t;
    t.translate(1920, 1080).rotate(double(state.range(0))).translate(-1880, -1040);
    const TBlitOptions options{
        .Sampling = state.range(1) ? smBilinear : smNearest, .Vector = state.range(2) != 0, .Blend = true};
    for (auto _ : state) {
        RenderTransformed(target, picture, t, 200, options);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(std::string(state.range(1) ? "bilinear" : "nearest") +
                   (state.range(2) ? "" : ", portable"));
}

BENCHMARK(TurnedPicture)
    ->ArgsProduct({{0, 30, 90}, {0, 1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace lanterna
