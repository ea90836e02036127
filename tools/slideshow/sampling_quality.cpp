// How far the slide-change frames drawn by the fast paths lie from the painting library's smooth
// drawing of the same frames. For each of the 28 animations a slide show of photo-like pictures is
// stepped to the frames where the incoming picture's progress first reaches 0.25, 0.5 and 0.75; each
// frame is drawn once as the control draws it and once with reference drawing, and the mean and the
// largest difference of the colour channels over the whole frame are printed (of 255).
// Usage: slideshow_quality [width height]   (1920 1080 unless given)
// Exits with 1 when a mean difference exceeds 2 or the pictures do not load.

#include "slideshow/animation_geometry.h"
#include "slideshow/slide_show_types.h"
#include "testing/application.h"
#include "testing/pictures.h"
#include "tools/slideshow/animation_names.h"
#include "tools/slideshow/stepped_show.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace lanterna {
namespace {

constexpr double kMeanGoal = 2.0;

struct TDifference {
    double Mean = 0;
    int Max = 0;
    double Over8 = 0; // share of the channels that differ by more than 8
};

TDifference Compare(const QImage& a, const QImage& b) {
    TDifference d;
    long long sum = 0, over = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16}) {
                const int delta = std::abs(int((pa[x] >> shift) & 0xff) - int((pb[x] >> shift) & 0xff));
                sum += delta;
                over += delta > 8;
                d.Max = std::max(d.Max, delta);
            }
    }
    const double channels = 3.0 * a.width() * a.height();
    d.Mean = sum / channels;
    d.Over8 = over / channels;
    return d;
}

QImage Frame(TSlideShow& show, bool reference) {
    QImage frame(show.size(), QImage::Format_ARGB32_Premultiplied);
    // The background fill leaves the last row and column to what lies beneath.
    frame.fill(Qt::black);
    SetReferenceDrawing(reference);
    show.render(&frame);
    SetReferenceDrawing(false);
    return frame;
}

int Run(int w, int h) {
    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < 2; ++i) {
        files << folder.filePath(QStringLiteral("%1.bmp").arg(i));
        testing::PhotoLike(w, h, i + 1).save(files.back());
    }
    TSteppedShow stepped(w, h);
    SetGlowingBackground(stepped.Show());
    if (!stepped.Load(files)) {
        std::fprintf(stderr, "the pictures did not load in time\n");
        return 1;
    }
    std::printf("%dx%d, mean and largest channel difference against the smooth drawing (of 255), share of "
                "channels off by more than 8\n",
                w, h);
    double worst = 0;
    for (int effect = 0; effect < kAnimationMemberCount; ++effect) {
        std::printf("%2d %-27s", effect, kAnimationNames[effect]);
        stepped.StartFade(effect);
        for (double progress : {0.25, 0.5, 0.75}) {
            stepped.StepToOpacity(std::uint8_t(progress * 255 + 0.5));
            const int opacity = stepped.Show().Transition().NextOpacity();
            const TDifference d = Compare(Frame(stepped.Show(), false), Frame(stepped.Show(), true));
            std::printf("  p=%.2f: mean %.2f max %3d >8 %4.1f%%", opacity / 255.0, d.Mean, d.Max,
                        100 * d.Over8);
            worst = std::max(worst, d.Mean);
        }
        std::printf("\n");
        std::fflush(stdout);
        while (stepped.Show().Transition().Running())
            stepped.Step();
    }
    std::printf("largest mean difference %.2f (goal %.1f)\n", worst, kMeanGoal);
    return worst <= kMeanGoal ? 0 : 1;
}

} // namespace
} // namespace lanterna

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    const int w = argc > 2 ? std::atoi(argv[1]) : 1920, h = argc > 2 ? std::atoi(argv[2]) : 1080;
    if (w < 64 || h < 64 || w > 8192 || h > 8192) {
        std::fprintf(stderr, "usage: slideshow_quality [width height], each 64 to 8192\n");
        return 2;
    }
    return lanterna::Run(w, h);
}
