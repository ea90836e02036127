// Benchmarks of the fills the player paints: the presentation's background at full-screen sizes (painted
// once into the control's cached bitmap), a rounded, shadowed, mirrored button, and one transition frame.
// Qt's raster engine hands large fills to its own threads, so the times are wall-clock times.
#include "drawing/fill.h"
#include "player/design/presentation_design.h"

#include <benchmark/benchmark.h>

using namespace lanterna;

namespace {

// A button face: vertical gradient with a mirrored lower half, rounded corners, a shadow and a border.
void Button(TFill& fill) {
    fill.SetGradientType(gtVertical);
    fill.SetColor(RGBColor(0xFF, 0xD9, 0xAA));
    fill.SetColorTo(RGBColor(0xFF, 0xBB, 0x6E));
    fill.SetColorMirror(RGBColor(0xFE, 0xAE, 0x42));
    fill.SetColorMirrorTo(RGBColor(0xFE, 0xE1, 0x7A));
    fill.SetGradientMirrorType(gtVertical);
    fill.SetBorderColor(RGBColor(0xFE, 0xAE, 0x42));
    fill.SetRounding(8);
    fill.SetShadowOffset(3);
}

// As the control caches its background: a new bitmap, a surface with default smoothing, the fill into
// (0, 0, width - 1, height - 1).
void BM_PresentationBackground(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    TFill fill;
    player::PresentationBackground(fill);
    for (auto _ : state) {
        TGPBitmap cache(w, h);
        TGPGraphics g(cache);
        benchmark::DoNotOptimize(fill.Fill(g, {0, 0, float(w - 1), float(h - 1)}));
    }
    state.SetItemsProcessed(std::int64_t(w) * h * state.iterations());
}
BENCHMARK(BM_PresentationBackground)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Button(benchmark::State& state) {
    TFill fill;
    Button(fill);
    TGPBitmap surface(115, 35);
    TGPGraphics g(surface);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    for (auto _ : state)
        benchmark::DoNotOptimize(fill.Fill(g, {0, 0, 115, 35}));
}
BENCHMARK(BM_Button)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One repaint during a fade: the cached background, the placeholder, and two pictures, the incoming one
// through a colour matrix carrying its opacity.
void BM_TransitionFrame(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    TFill background;
    player::PresentationBackground(background);
    TGPBitmap cache(w, h);
    {
        TGPGraphics g(cache);
        background.Fill(g, {0, 0, float(w - 1), float(h - 1)});
    }
    TFill placeHolder;
    placeHolder.SetColor(clWhite);
    placeHolder.SetColorTo(clNone);
    placeHolder.SetBorderColor(clSilver);
    QImage photo(w * 3 / 4, h * 3 / 4, QImage::Format_RGB32);
    photo.fill(qRgb(30, 120, 200));
    const TGPImage picture(photo);
    const TGPRectF place{float(w) / 8, float(h) / 8, float(photo.width()), float(photo.height())};
    TColorMatrix matrix;
    matrix.m[3][3] = 0.5f;
    TGPImageAttributes fade;
    fade.SetColorMatrix(matrix);
    TGPBitmap screen(w, h);
    TGPGraphics g(screen);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    for (auto _ : state) {
        g.DrawImage(&cache, 0, 0);
        placeHolder.Fill(g, {place.X - 10, place.Y - 10, place.Width + 20, place.Height + 20});
        g.DrawImage(&picture, place);
        g.DrawImage(&picture, {place.X, place.Y - 20, place.Width, place.Height}, 0, 0, float(photo.width()),
                    float(photo.height()), UnitPixel, &fade);
    }
}
BENCHMARK(BM_TransitionFrame)->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
