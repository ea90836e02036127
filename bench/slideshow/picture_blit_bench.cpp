// Time of our resampler alone: a 4K picture turned by a given angle and drawn over a 4K surface, with
// nearest, filtered and block sampling, by the wide vector loop or (argument 0) the portable one, read
// from the picture itself or (argument 1) from its coarse copy of half its size, a translucent picture or
// (argument 1) an opaque one as the player's copies of photos are; the angle shows what reading the
// picture along a slant costs. LANTERNA_VECTOR_TARGET names another instruction set than the best one
// the processor has (e.g. AVX2 on a processor with AVX-512), to compare them.

#include "slideshow/picture_blit.h"
#include "slideshow/picture_blit_vector.h"
#include "testing/pictures.h"

#include <benchmark/benchmark.h>

namespace lanterna {
namespace {

// The instruction set LANTERNA_VECTOR_TARGET names, when it is one the processor has.
void ChooseVectorTarget() {
    const QByteArray wanted = qgetenv("LANTERNA_VECTOR_TARGET");
    if (wanted.isEmpty())
        return;
    for (std::int64_t target : VectorTargets()) {
        UseVectorTarget(target);
        if (wanted == VectorTargetName())
            return;
    }
    UseVectorTarget(0);
}

void TurnedPicture(benchmark::State& state) {
    static const bool chosen = (ChooseVectorTarget(), true);
    (void)chosen;
    static const QImage picture =
        testing::PhotoLike(3760, 2080, 1).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    static const QImage coarse = picture.scaled(1880, 1040);
    const bool fromCoarse = state.range(3) != 0, opaque = state.range(4) != 0;
    QImage source = fromCoarse ? coarse : picture;
    if (opaque)
        source.reinterpretAsFormat(QImage::Format_RGB32);
    QImage target(3840, 2160, QImage::Format_RGB32);
    target.fill(Qt::black);
    QTransform t;
    t.translate(1920, 1080).rotate(double(state.range(0))).translate(-1880, -1040);
    if (fromCoarse)
        t = QTransform::fromScale(2, 2) * t;
    const auto sampling = TSampling(state.range(1));
    const TBlitOptions options{.Sampling = sampling, .Vector = state.range(2) != 0, .Blend = true};
    for (auto _ : state) {
        RenderTransformed(target, source, t, 200, options);
        benchmark::DoNotOptimize(target.constBits());
    }
    const char* names[] = {"nearest", "bilinear", "blocks"};
    state.SetLabel(std::string(names[sampling]) +
                   (state.range(2) ? std::string(", ") + VectorTargetName() : ", portable") +
                   (fromCoarse ? ", coarse" : "") + (opaque ? ", opaque" : ""));
}

BENCHMARK(TurnedPicture)
    ->ArgsProduct({{0, 30, 90}, {smNearest, smBilinear}, {1}, {0}, {0, 1}})
    ->ArgsProduct({{0, 30, 45, 90}, {smNearest, smBlocks}, {1}, {1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace lanterna
