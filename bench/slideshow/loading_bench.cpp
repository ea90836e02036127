// Loading a folder of 12-megapixel photos into a full-HD slide show, set up as the player sets it:
// how soon the first picture is laid out and ready to paint, how soon every thumbnail exists, and
// the peak resident memory on the way. The photos are generated when the benchmark starts.
#include "bench/bench_support.h"
#include "slideshow/slide_show.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

using namespace lanterna;
using bench::PeakResidentMb;
using bench::PhotoFolder;
using bench::ResetPeakResident;

bool AllThumbnails(const TSlideShow& show) {
    for (int i = 0; i < show.Items()->Count(); ++i) {
        if (show.Items()->Items(i)->ThumbThreadStatus() != stLoaded)
            return false;
    }
    return true;
}

void BM_LoadPhotoFolder(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString folder = PhotoFolder(count);
    for (auto _ : state) {
        QCoreApplication::processEvents();
        ResetPeakResident();
        const double baseline = PeakResidentMb();
        {
            TSlideShow show;
            show.resize(1920, 1080);
            show.SetThumbNails(false);
            show.SetRotation(false);
            show.show();
            QCoreApplication::processEvents();

            QElapsedTimer clock;
            clock.start();
            show.BeginUpdate();
            show.Items()->Clear();
            show.AddItemsFromFolder(folder + "/*.*", ikImage, true, true, true);
            show.EndUpdate();
            double firstMs = -1;
            while (!AllThumbnails(show)) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                const TSlideShowItem* first = show.Items()->Items(0);
                if (firstMs < 0 && !first->OriginalImage().isNull() && first->ItemRect().Width > 0)
                    firstMs = double(clock.nsecsElapsed()) / 1e6;
            }
            const double allMs = double(clock.nsecsElapsed()) / 1e6;
            state.SetIterationTime(allMs / 1000);
            state.counters["first_picture_ms"] = firstMs;
            state.counters["all_thumbnails_ms"] = allMs;
        }
        state.counters["photo_file_mb"] = double(QFileInfo(folder + "/IMG_0000.jpg").size()) / (1 << 20);
        state.counters["baseline_rss_mb"] = baseline;
        state.counters["peak_rss_mb"] = PeakResidentMb();
    }
}
BENCHMARK(BM_LoadPhotoFolder)
    ->Arg(50)
    ->Arg(300)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
