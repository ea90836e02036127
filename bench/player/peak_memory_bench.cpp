// Peak resident memory of the player as a new user meets it: the Lanterna program from a program folder
// of its own, full screen on a folder of twelve-megapixel photos at the shortest interval (one second),
// measured after 40 seconds. It runs the player with no photo, with one and with the whole folder (300 by
// default), so the figures show what the program, one picture and the rest of the folder cost; feh, a
// general image viewer, is measured on the same folder as a reference when it is installed.
//
// Needs an X display of the screen's size, e.g.
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/player/bench_player_memory [photos] [seconds]
#include "bench/bench_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct TFigures {
    bool Ran = false;
    double Peak = 0, Resident = 0;
};

// Runs `program` for `seconds` and takes its peak and current resident memory before ending it.
TFigures Measure(const QString& program, const QStringList& arguments, int seconds) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {};
    // The program is meant to run on: finishing within the time is a failure.
    if (process.waitForFinished(seconds * 1000))
        return {};
    const TFigures figures{true, lanterna::bench::PeakResidentMb(process.processId()),
                           lanterna::bench::ResidentMb(process.processId())};
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return figures;
}

// A program folder holding a copy of the player and settings that show `photos` full screen at once.
bool LayOut(const QString& programDir, const QString& photos) {
    QFile cfg(programDir + "/SlideShow.cfg");
    if (!QFile::copy(LANTERNA_PLAYER_BINARY, programDir + "/Lanterna") || !cfg.open(QIODevice::WriteOnly))
        return false;
    cfg.write("[Global]\nSlideDirectory=" + photos.toUtf8() +
              "\nFullScreen=1\nRotateInterval=1\nZjistitNovouVerziPriStartu=0\n");
    return true;
}

// The player's figures with `count` photos of the folder `all`.
TFigures MeasurePlayer(const QString& all, int count, int seconds) {
    QTemporaryDir programDir, photos;
    if (!programDir.isValid() || !photos.isValid())
        return {};
    const QStringList names = QDir(all).entryList(QDir::Files, QDir::Name).mid(0, count);
    for (const QString& name : names)
        if (!QFile::link(QDir(all).filePath(name), photos.filePath(name)))
            return {};
    if (!LayOut(programDir.path(), photos.path()))
        return {};
    return Measure(programDir.filePath("Lanterna"), {"/AUTOSTART"}, seconds);
}

void Print(const char* what, const TFigures& f) {
    if (f.Ran)
        std::printf("%-28s peak %7.1f MB   resident at the end %7.1f MB\n", what, f.Peak, f.Resident);
    else
        std::printf("%-28s did not run for the whole time\n", what);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args[1].toInt() : 300;
    const int seconds = args.size() > 2 ? args[2].toInt() : 40;
    if (photos < 1 || seconds < 1 || qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "usage (on an X display): bench_player_memory [photos >= 1] [seconds >= 1]\n");
        return 2;
    }
    const QString folder = lanterna::bench::PhotoFolder(photos);
    std::printf("%d photos of 4000 x 3000, one second a slide, peak resident memory after %d s\n", photos,
                seconds);
    bool ran = true;
    for (int count : {0, 1, photos}) {
        const TFigures f = MeasurePlayer(folder, count, seconds);
        Print(qPrintable(QString("Lanterna, %1 photos").arg(count)), f);
        ran = ran && f.Ran;
    }
    const QString feh = QStandardPaths::findExecutable("feh");
    if (!feh.isEmpty())
        Print(qPrintable(QString("feh, %1 photos").arg(photos)),
              Measure(feh, {"--fullscreen", "--slideshow-delay", "1", folder}, seconds));
    return ran ? 0 : 1;
}
