// Loading a folder of 12-megapixel photos into a full-HD slide show, set up as the player sets it:
// how soon the first picture is laid out and ready to paint, how soon every slide that can be loaded
// is, and the peak resident memory on the way. The photos are generated when the benchmark starts.
// A second row of 300 adds files a folder may hold besides photos: picture headers that claim
// 100000 x 100000 pixels, a 3 GB sparse disk image, a FIFO, a link to /dev/zero, a folder with a
// picture's name, empty, text and truncated files.
#include "bench/bench_support.h"
#include "slideshow/slide_show.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace lanterna;
using bench::PeakResidentMb;
using bench::PhotoFolder;
using bench::ResetPeakResident;

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void AddHostileFiles(const QString& folder, const QString& photo) {
    const auto bytes = [](const char* b, int n) { return QByteArray(b, n); };
    Put(folder + "/bomb.png",
        bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06\0\0\0", 29) +
            QByteArray(64, '\0'));
    Put(folder + "/bomb.gif",
        bytes("GIF89a\xff\xff\xff\xff\0\0\0\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\x02\x44\x01\0\x3b", 29));
    Put(folder + "/bomb.bmp",
        bytes("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xa0\x86\x01\0\xa0\x86\x01\0\x01\0\x20\0", 30) +
            QByteArray(64, '\0'));
    Put(folder + "/bomb.jpg",
        bytes("\xff\xd8\xff\xc0\0\x11\x08\xff\xff\xff\xff\x03\x01\x22\0\x02\x11\x01\x03\x11\x01\xff\xd9",
              23));
    QFile disk(folder + "/disk.img");
    if (disk.open(QIODevice::WriteOnly))
        disk.resize(qint64(3) << 30);
    ::mkfifo(QFile::encodeName(folder + "/fifo.png").constData(), 0600);
    QFile::link("/dev/zero", folder + "/zero.jpg");
    QDir(folder).mkdir("folder.jpg");
    Put(folder + "/empty.png", {});
    Put(folder + "/notes.txt", "not a picture");
    QFile source(photo);
    source.open(QIODevice::ReadOnly);
    Put(folder + "/truncated.jpg", source.read(source.size() / 3));
}

// The photos of PhotoFolder(count) linked into a folder of their own, beside the hostile files.
QString HostileFolder(int count) {
    static QTemporaryDir folder;
    static bool made = false;
    if (!made) {
        const QDir photos(PhotoFolder(count));
        for (const QString& name : photos.entryList(QDir::Files)) {
            if (::link(QFile::encodeName(photos.filePath(name)).constData(),
                       QFile::encodeName(folder.filePath(name)).constData()) != 0)
                QFile::copy(photos.filePath(name), folder.filePath(name));
        }
        AddHostileFiles(folder.path(), photos.filePath("IMG_0000.jpg"));
        made = true;
    }
    return folder.path();
}

// The first photo of the list has its picture and its place.
bool FirstPhotoReady(const TSlideShow& show) {
    for (int i = 0; i < show.Items()->Count(); ++i) {
        const TSlideShowItem* item = show.Items()->Items(i);
        if (QFileInfo(item->Location()).fileName().startsWith("IMG_"))
            return !item->OriginalImage().isNull() && item->ItemRect().Width > 0;
    }
    return false;
}

void BM_LoadPhotoFolder(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString folder = state.range(1) ? HostileFolder(count) : PhotoFolder(count);
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
            // Until every slide that can be loaded is: the other files never get a thumbnail.
            while (show.Loading()) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                if (firstMs < 0 && FirstPhotoReady(show))
                    firstMs = double(clock.nsecsElapsed()) / 1e6;
            }
            const double allMs = double(clock.nsecsElapsed()) / 1e6;
            state.SetIterationTime(allMs / 1000);
            state.counters["first_picture_ms"] = firstMs;
            state.counters["all_loaded_ms"] = allMs;
        }
        state.counters["photo_file_mb"] = double(QFileInfo(folder + "/IMG_0000.jpg").size()) / (1 << 20);
        state.counters["baseline_rss_mb"] = baseline;
        state.counters["peak_rss_mb"] = PeakResidentMb();
    }
}
BENCHMARK(BM_LoadPhotoFolder)
    ->ArgNames({"photos", "hostile"})
    ->Args({50, 0})
    ->Args({300, 0})
    ->Args({300, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
