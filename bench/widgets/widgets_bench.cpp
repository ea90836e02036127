// One paint of each moving widget at the updater's sizes: the 60 x 60 busy ring and the 417 x 18 level
// bar in its block, stacked, smooth and busy modes. Each paint also counts the large allocations it made
// (blocks at least the size of the bar's bitmap), so that a paint that allocates a new bitmap although
// the size did not change shows up; the resizing case shows what such a paint would count.
#include "widgets/circular_progress.h"
#include "widgets/level_progress_bar.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
}

namespace {

// The bar's bitmap: 417 x 18 pixels of 4 bytes.
constexpr std::size_t kLargeBlock = 417 * 18 * 4;
std::atomic<long> largeAllocations{0};

void Count(std::size_t size) {
    if (size >= kLargeBlock)
        largeAllocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

// Every allocation of the process passes here first (QImage allocates its pixels with malloc).
extern "C" void* malloc(std::size_t size) {
    Count(size);
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) {
    Count(count * size);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, std::size_t size) {
    Count(size);
    return __libc_realloc(block, size);
}

using namespace lanterna;

namespace {

// Paints the widget into a surface of its size, as the window's backing store does, once per iteration.
void PaintLoop(benchmark::State& state, QWidget& widget, const std::function<void(int)>& before = {}) {
    QImage surface(widget.size(), QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    widget.render(&surface); // the first paint makes what a paint keeps
    int n = 0;
    const long start = largeAllocations.load();
    for (auto _ : state) {
        if (before)
            before(n++);
        widget.render(&surface, {}, {}, QWidget::RenderFlags());
        benchmark::ClobberMemory();
    }
    state.counters["large_allocs_per_paint"] =
        benchmark::Counter(double(largeAllocations.load() - start) / double(state.iterations()));
}

void BM_RingPaint(benchmark::State& state) {
    TCircularProgress ring;
    ring.SetInterval(0);
    ring.Appearance().SetInActiveSegmentColor(clSilver);
    ring.Appearance().SetActiveSegmentColor(RGBColor(0x9F, 0x9F, 0xFF));
    ring.Appearance().SetTransitionSegmentColor(RGBColor(0x00, 0x00, 0xA0));
    ring.Appearance().SetProgressSegmentColor(RGBColor(0x80, 0x00, 0x40));
    PaintLoop(state, ring, [&](int) { ring.Tick(); });
}
BENCHMARK(BM_RingPaint)->Unit(benchmark::kMicrosecond);

enum TBarMode { kBlocks, kStacked, kSmooth, kBusy };

// range(0): the mode; range(1): the percentage.
void BM_BarPaint(benchmark::State& state) {
    TLevelProgressBar bar;
    bar.resize(417, 18);
    const auto mode = TBarMode(state.range(0));
    bar.SetStacked(mode == kStacked);
    bar.SetCompletionSmooth(mode == kSmooth);
    bar.SetInfinite(mode == kBusy);
    bar.SetPosition(int(state.range(1)));
    PaintLoop(state, bar, [&](int) {
        if (mode == kBusy)
            bar.Tick();
    });
}
BENCHMARK(BM_BarPaint)
    ->ArgNames({"mode", "percent"})
    ->Args({kBlocks, 50})
    ->Args({kBlocks, 100})
    ->Args({kStacked, 95})
    ->Args({kSmooth, 50})
    ->Args({kBusy, 0})
    ->Unit(benchmark::kMicrosecond);

// The control case: a size change every paint must make a new bitmap, and the counter sees it.
void BM_BarPaintResizing(benchmark::State& state) {
    TLevelProgressBar bar;
    bar.resize(417, 18);
    bar.SetPosition(50);
    PaintLoop(state, bar, [&](int n) { bar.resize(n % 2 ? 417 : 418, 18); });
}
BENCHMARK(BM_BarPaintResizing)->Unit(benchmark::kMicrosecond);

} // namespace
