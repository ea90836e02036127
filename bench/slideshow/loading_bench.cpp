// Loading a folder of 12-megapixel photos into a full-HD slide show, set up as the player sets it:
// how soon the first picture is laid out and ready to paint, how soon every thumbnail exists, and
// the peak resident memory on the way. The photos are generated when the benchmark starts.
#include "slideshow/slide_show.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>

#include <unistd.h>

namespace {

using namespace lanterna;

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
// Distinct pictures; the folder repeats them under other names.
constexpr int kVariants = 6;

// A picture with the structure of a photo: broad colour gradients under fine grain, so that it
// compresses and decodes like one.
QImage PhotoLike(int variant) {
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u + std::uint32_t(variant) * 7919u;
    for (int y = 0; y < kPhotoHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPhotoWidth; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise & 31) - 16;
            const int r = (x * 255 / kPhotoWidth + variant * 40) % 256;
            const int g = y * 255 / kPhotoHeight;
            const int b = ((x + y) / 24 + variant * 30) % 256;
            line[x] = qRgb(qBound(0, r + grain, 255), qBound(0, g + grain, 255), qBound(0, b + grain, 255));
        }
    }
    return image;
}

// A folder of `count` photos; made once per run of the program.
QString PhotoFolder(int count) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    static std::unique_ptr<QTemporaryDir> originals;
    if (!originals) {
        originals = std::make_unique<QTemporaryDir>();
        for (int v = 0; v < kVariants; ++v)
            PhotoLike(v).save(originals->filePath(QString("photo%1.jpg").arg(v)), "JPG", 90);
    }
    auto& folder = folders[count];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < count; ++i) {
            const QByteArray source =
                QFile::encodeName(originals->filePath(QString("photo%1.jpg").arg(i % kVariants)));
            const QByteArray target =
                QFile::encodeName(folder->filePath(QString("IMG_%1.jpg").arg(i, 4, 10, QChar('0'))));
            if (::link(source.constData(), target.constData()) != 0)
                QFile::copy(QFile::decodeName(source), QFile::decodeName(target));
        }
    }
    return folder->path();
}

// The process's peak resident memory in MB since the last reset.
double PeakResidentMb() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

void ResetPeakResident() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

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
