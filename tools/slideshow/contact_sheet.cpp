// Renders the slide-change animations into PNG sheets for a person to look at:
//   animations.png  every one of the 28 animations at several progress values, and the cross-fade of an
//                   outgoing and an incoming picture half way;
//   transition.png  one slide change of a slide show with the player's settings, frame by frame;
//   band.png        the thumbnail band along the bottom and along the left side, scrolled half way.
// Usage: slideshow_contact_sheet [output folder]

#include "slideshow/animation_geometry.h"
#include "slideshow/slide_painter.h"
#include "slideshow/slide_show.h"
#include "testing/application.h"
#include "tools/slideshow/animation_names.h"
#include "tools/slideshow/band_sheet.h"
#include "tools/slideshow/sheet_slides.h"
#include "tools/slideshow/stepped_show.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace lanterna {
namespace {

void SolidFill(TFill& fill, TColor color, TColor border) {
    fill.SetGradientType(gtSolid);
    fill.SetColor(color);
    fill.SetColorTo(color);
    fill.SetBorderColor(border);
}

void Label(QPainter& p, const QRect& r, const QString& text, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    p.setPen(QColor(30, 30, 30));
    p.drawText(r, flags, text);
}

QImage AnimationSheet() {
    constexpr int kCellW = 200, kCellH = 150, kGap = 8, kLabelW = 230, kHeaderH = 28;
    const float progress[] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f};
    const int columns = int(std::size(progress)) + 1;
    const TGPRectF rect{40, 30, 120, 90};
    const QImage incoming = Picture(240, 180, QColor(40, 110, 200), QStringLiteral("B"));
    const QImage outgoing = Picture(240, 180, QColor(220, 120, 30), QStringLiteral("A"));
    TFill holder;
    SolidFill(holder, RGBColor(235, 235, 235), clSilver);

    QImage sheet(kLabelW + columns * (kCellW + kGap), kHeaderH + kAnimationMemberCount * (kCellH + kGap),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int c = 0; c < columns; ++c) {
        const QString head = c < columns - 1 ? QStringLiteral("p = %1").arg(progress[c])
                                             : QStringLiteral("cross-fade, p = 0.5");
        Label(p, QRect(kLabelW + c * (kCellW + kGap), 0, kCellW, kHeaderH), head, Qt::AlignCenter);
    }
    for (int effect = 0; effect < kAnimationMemberCount; ++effect) {
        const int top = kHeaderH + effect * (kCellH + kGap);
        Label(p, QRect(8, top, kLabelW - 8, kCellH),
              QStringLiteral("%1  %2").arg(effect).arg(QLatin1String(kAnimationNames[effect])));
        for (int c = 0; c < columns; ++c) {
            QImage cell(kCellW, kCellH, QImage::Format_ARGB32_Premultiplied);
            cell.fill(QColor(250, 250, 250));
            {
                TGPGraphics g(cell);
                g.SetSmoothingMode(SmoothingModeAntiAlias);
                holder.Fill(g, TGPRectF{rect.X - 10, rect.Y - 10, rect.Width + 20, rect.Height + 20});
                const TPictureAnimation animation{true, true, effect};
                if (c < columns - 1) {
                    DrawSlidePicture(g, incoming, rect, std::uint8_t(Round(progress[c] * 255)), true,
                                     animation);
                } else {
                    DrawSlidePicture(g, incoming, rect, 128, true, animation);
                    DrawSlidePicture(g, outgoing, rect, 127, true, animation);
                }
            }
            p.drawImage(kLabelW + c * (kCellW + kGap), top, cell);
            p.setPen(QColor(210, 210, 210));
            p.drawRect(kLabelW + c * (kCellW + kGap), top, kCellW - 1, kCellH - 1);
        }
    }
    return sheet;
}

// One slide change of a slide show set up as the player sets it: placeholder factor 6, fade factor 10,
// saBottomToTop for both pictures, 40 pixels of placeholder round each picture, over a dark radial
// background. The animation timer is ticked by hand, one period of 16 ms at a time.
QImage TransitionStrip() {
    constexpr int kW = 480, kH = 300, kColumns = 5, kLabelH = 22;
    QTemporaryDir folder;
    Picture(400, 300, QColor(220, 120, 30), QStringLiteral("A"))
        .save(folder.filePath(QStringLiteral("a.png")));
    Picture(1600, 900, QColor(40, 110, 200), QStringLiteral("B"))
        .save(folder.filePath(QStringLiteral("b.png")));

    TFill background;
    background.SetGradientType(gtRadial);
    background.SetColor(RGBColor(60, 80, 130));
    background.SetColorTo(RGBColor(10, 15, 35));
    TSteppedShow stepped(kW, kH);
    TSlideShow& show = stepped.Show();
    show.SetFill(background);
    if (!stepped.Load({folder.filePath(QStringLiteral("a.png")), folder.filePath(QStringLiteral("b.png"))}))
        return {};

    std::vector<std::pair<QImage, QString>> frames;
    const auto frame = [&](int tick) {
        const QString phase = show.Transition().AnimatingPlaceHolder() ? QStringLiteral("placeholder")
                              : show.Transition().AnimatingImage()
                                  ? QStringLiteral("in %1, out %2")
                                        .arg(show.Transition().NextOpacity())
                                        .arg(show.Transition().CurrentOpacity())
                                  : QStringLiteral("settled");
        frames.emplace_back(show.grab().toImage(), QStringLiteral("tick %1: %2").arg(tick).arg(phase));
    };
    frame(0);
    stepped.Begin(saBottomToTop);
    for (int tick = 1; show.Transition().Running() && tick < 1000; ++tick) {
        stepped.Step();
        if (tick % 4 == 0 || !show.Transition().Running())
            frame(tick);
    }

    const int rows = int(frames.size() + kColumns - 1) / kColumns;
    QImage strip(kColumns * kW, rows * (kH + kLabelH), QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const int x = int(i % kColumns) * kW, y = int(i / kColumns) * (kH + kLabelH);
        Label(p, QRect(x + 6, y, kW - 6, kLabelH), frames[i].second);
        p.drawImage(x, y + kLabelH, frames[i].first);
    }
    return strip;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

} // namespace
} // namespace lanterna

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "could not create %s\n", qPrintable(out.path()));
        return 1;
    }
    const bool ok =
        lanterna::Save(lanterna::AnimationSheet(), out.filePath(QStringLiteral("animations.png"))) &&
        lanterna::Save(lanterna::TransitionStrip(), out.filePath(QStringLiteral("transition.png"))) &&
        lanterna::Save(lanterna::BandSheet(), out.filePath(QStringLiteral("band.png")));
    return ok ? 0 : 1;
}
