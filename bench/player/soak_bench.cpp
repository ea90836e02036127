// Soak run of the whole player: the presentation, opened by "/AUTOSTART" with the player's own design
// values and real timers, shows a folder of 50 photos at the shortest interval (one second) for
// LANTERNA_SOAK_CHANGES slide changes (2000 when unset). Every 100 changes it prints the current and
// peak resident memory; at the end, the growth of both after the first 200 changes (the warm-up, in
// which the decode window and Qt's caches fill). A player that runs for months must not grow.
#include "bench/bench_support.h"
#include "player/presentation_form.h"
#include "player/program.h"
#include "slideshow/slide_show.h"
#include "testing/application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kPhotos = 50;
constexpr int kSampleEvery = 100;
constexpr int kWarmUp = 200;

// A program folder whose settings open the presentation full screen on the photo folder.
bool WriteSettings(const QString& programDir, const QString& photos) {
    QFile cfg(programDir + "/SlideShow.cfg");
    if (!cfg.open(QIODevice::WriteOnly))
        return false;
    cfg.write(
        "[Global]\nSlideDirectory=" + photos.toUtf8() +
        "\nFullScreen=1\nLogoVisible=1\nClockVisible=1\nRotateInterval=1\nZjistitNovouVerziPriStartu=0\n");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    const int changes = qEnvironmentVariableIsSet("LANTERNA_SOAK_CHANGES")
                            ? qEnvironmentVariableIntValue("LANTERNA_SOAK_CHANGES")
                            : 2000;
    if (changes < kWarmUp + kSampleEvery) {
        std::fprintf(stderr, "LANTERNA_SOAK_CHANGES must be at least %d\n", kWarmUp + kSampleEvery);
        return 2;
    }

    QTemporaryDir programDir;
    const QString photos = lanterna::bench::PhotoFolder(kPhotos);
    if (!programDir.isValid() || !WriteSettings(programDir.path(), photos)) {
        std::fprintf(stderr, "cannot lay out the program folder\n");
        return 1;
    }
    player::InitialiseApplication();
    player::Program program(programDir.filePath("Lanterna"), {"/AUTOSTART"});
    program.Show();
    const lanterna::TSlideShow& show = *program.Forms().Form2->SlideShow;

    std::printf("%8s %10s %12s %12s\n", "changes", "seconds", "rss_mb", "peak_rss_mb");
    QElapsedTimer clock;
    clock.start();
    int seen = 0;
    int last = show.ItemIndex();
    double warmRss = 0, warmPeak = 0;
    // The selection is watched from the event loop, as often as a frame is drawn.
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (show.ItemIndex() == last)
            return;
        last = show.ItemIndex();
        if (++seen % kSampleEvery != 0)
            return;
        const double rss = lanterna::bench::ResidentMb();
        const double peak = lanterna::bench::PeakResidentMb();
        std::printf("%8d %10.1f %12.1f %12.1f\n", seen, double(clock.elapsed()) / 1000, rss, peak);
        std::fflush(stdout);
        if (seen == kWarmUp) {
            warmRss = rss;
            warmPeak = peak;
        }
        if (seen >= changes)
            QCoreApplication::quit();
    });
    watch.start();
    QApplication::exec();

    const double rss = lanterna::bench::ResidentMb();
    const double peak = lanterna::bench::PeakResidentMb();
    std::printf("growth after the first %d changes over %d more: rss %+.1f MB, peak %+.1f MB\n", kWarmUp,
                seen - kWarmUp, rss - warmRss, peak - warmPeak);
    return 0;
}
