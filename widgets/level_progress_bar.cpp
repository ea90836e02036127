#include "widgets/level_progress_bar.h"

#include "platform/fonts.h"
#include "widgets/integer_format.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace lanterna {

namespace {

// The key colour of the corners outside a rounded frame.
constexpr QRgb kCornerKey = 0xFFFF00FF;

QColor ToQColor(TColor color) {
    return QColor::fromRgb(AlphaColor(color, 255));
}

// Fills from (l, t) to (r, b), the right and bottom edge excluded; an empty box paints nothing.
void Box(QPainter& p, int l, int t, int r, int b, TColor color) {
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), ToQColor(color));
}

// Band n of a shading from `from` to `to` in `steps` bands.
TColor BandColor(TColor from, TColor to, int n, int steps) {
    auto channel = [&](std::uint8_t a, std::uint8_t b) {
        return std::uint8_t(std::clamp<std::int64_t>(a + Round(double(n) * (b - a) / steps), 0, 255));
    };
    return RGBColor(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
                    channel(GetBValue(from), GetBValue(to)));
}

// The frame over (l, t) to (r, b), the right and bottom edge excluded. Rounded, each corner is the
// quarter of a 6 x 6 ellipse, the same at all four: its three outer pixels are left as they are and
// the diagonal pixel inside them is the frame's.
void Frame(QPainter& p, int l, int t, int r, int b, bool rounded, TColor pen, TColor brush) {
    if (!rounded) {
        p.setPen(ToQColor(pen));
        p.setBrush(ToQColor(brush));
        p.drawRect(QRect(l, t, r - l - 1, b - t - 1));
        return;
    }
    Box(p, l + 1, t + 1, r - 1, b - 1, brush);
    Box(p, l + 2, t, r - 2, t + 1, pen);
    Box(p, l + 2, b - 1, r - 2, b, pen);
    Box(p, l, t + 2, l + 1, b - 2, pen);
    Box(p, r - 1, t + 2, r, b - 2, pen);
    for (const QPoint& c :
         {QPoint(l + 1, t + 1), QPoint(r - 2, t + 1), QPoint(l + 1, b - 2), QPoint(r - 2, b - 2)})
        Box(p, c.x(), c.y(), c.x() + 1, c.y() + 1, pen);
}

struct TBlock {
    int l, t, r, b;
};

// A block or stacked piece in its colour pair. With a gradient it is cut across the bar at its middle
// and each half shades from ColorTo at its outer edge to Color at the middle, which reads as a tube.
void PaintBlock(QPainter& p, const TBlock& k, TLevelColors pair, bool gradient, int steps, bool vertical) {
    if (!gradient) {
        Box(p, k.l, k.t, k.r, k.b, pair.Color);
        return;
    }
    steps = std::max(steps, 1);
    // Across the bar: rows of a horizontal bar, columns of a vertical one.
    const int start = vertical ? k.l : k.t, end = vertical ? k.r : k.b;
    const int middle = start + (end - start) / 2;
    auto shade = [&](int from, int to, TColor colorFrom, TColor colorTo) {
        const double s = double(to - from) / steps;
        for (int n = 0; n < steps; ++n) {
            const int a = from + int(Round(n * s));
            const int z = std::min<int>(to, a + int(Round(s)) + 1);
            const TColor c = BandColor(colorFrom, colorTo, n, steps);
            if (vertical)
                Box(p, a, k.t, z, k.b, c);
            else
                Box(p, k.l, a, k.r, z, c);
        }
    };
    shade(start, middle, pair.ColorTo, pair.Color);
    shade(middle, end, pair.Color, pair.ColorTo);
}

// Where a bar is drawn: the painter, the bar's box, its direction, the length inside the frame and how
// its blocks are shaded.
struct TBarCanvas {
    QPainter& p;
    int L, T, R, B;
    bool vertical;
    int len;
    bool gradient;
    int steps;

    void Paint(const TBlock& k, TLevelColors pair) const {
        PaintBlock(p, k, pair, gradient, steps, vertical);
    }
};

// The optional backgrounds of the three zones, which end at level1 and level2 percent.
void DrawZoneBackgrounds(const TBarCanvas& c, const TColor (&colors)[3], int level1, int level2) {
    const int len = c.len;
    const int z0 = int(Round(level1 / 100.0 * len));
    const int z1 = int(Round(len * double(level2 - level1) / 100));
    const int lengths[3] = {z0, z1, int(Round(double(len) - z0 - z1))};
    // Zone 0 begins one pixel further in than the zones after it end, as the frame is drawn.
    int from = c.vertical ? c.B - 2 : c.L + 2, edge = c.vertical ? c.B - z0 + 1 : c.L + z0;
    for (int zone = 0; zone < 3; ++zone) {
        if (zone > 0) {
            from = edge;
            edge = c.vertical ? edge - lengths[zone] : edge + lengths[zone];
        }
        if (colors[zone] == clNone)
            continue;
        if (c.vertical)
            Box(c.p, c.L + 1, edge, c.R - 1, from, colors[zone]);
        else
            Box(c.p, from, c.T + 1, edge, c.B - 1, colors[zone]);
    }
}

// Each level passed up to q percent is a piece of its own colour, laid end to end from the bar's start.
void DrawStacked(const TBarCanvas& c, const TLevelColors (&levels)[4], int q, int level1, int level2) {
    const int len = c.len;
    std::array<int, 3> pieces{};
    pieces[0] = int(Round(std::min(q, level1) / 100.0 * len));
    if (q >= level1)
        pieces[1] = int(Round(len * double(std::min(q, level2) - level1) / 100));
    if (q >= level2)
        pieces[2] = q == 100 ? int(Round(double(len) - pieces[0] - pieces[1]))
                             : int(Round(len * double(q - level2) / 100));
    int at = c.vertical ? c.B - 2 : c.L + 2;
    for (int level = 0; level < 3; ++level) {
        if (pieces[level] <= 0)
            continue;
        if (c.vertical) {
            c.Paint({c.L + 1, at - pieces[level], c.R - 1, at}, levels[level]);
            at -= pieces[level];
        } else {
            c.Paint({at, c.T + 1, at + pieces[level], c.B - 1}, levels[level]);
            at += pieces[level];
        }
    }
}

// One block from the bar's start to q percent.
void DrawSmooth(const TBarCanvas& c, TLevelColors pair, int q) {
    const int f = int(Round(q / 100.0 * c.len));
    c.Paint(c.vertical ? TBlock{c.L + 2, c.B - f, c.R - 2, c.B - 2}
                       : TBlock{c.L + 2, c.T + 2, c.L + f, c.B - 2},
            pair);
}

// A row of 7-pixel blocks 2 pixels apart up to q percent, the last one cut short.
void DrawBlocks(const TBarCanvas& c, TLevelColors pair, int q) {
    const bool vertical = c.vertical;
    const int e = int(Round(c.len * q / 100.0));
    // A block from `from` to `to` along the bar (upward for a vertical one).
    auto block = [&](int from, int to) {
        c.Paint(vertical ? TBlock{c.L + 2, to, c.R - 2, from} : TBlock{from, c.T + 2, to, c.B - 2}, pair);
    };
    const int dir = vertical ? -1 : 1;
    if (e < 10) {
        if (e > 1)
            block(vertical ? c.B - 2 : c.L + 2, vertical ? c.B - e - 1 : c.L + e + 1);
        return;
    }
    int edge = vertical ? c.B - 9 : c.L + 9;
    block(vertical ? c.B - 2 : c.L + 2, edge);
    for (int n = 1; n < e / 9; ++n) {
        block(edge + 2 * dir, edge + 9 * dir);
        edge += 9 * dir;
    }
    if (e % 9 > 1) {
        const int to = edge + (e % 9) * dir;
        block(edge + 2 * dir, vertical ? std::max(to, c.T + 2) : to);
    }
}

// The busy mode's window at busy percent: the full bar is covered in the background colour outside it.
void DrawBusyWindow(const TBarCanvas& c, int busy, TColor background) {
    const int L = c.L, T = c.T, R = c.R, B = c.B;
    const int extent = c.vertical ? B - T : R - L;
    const int at = extent < 5 ? 0 : int(Round(busy / 100.0 * (extent - 4)));
    if (c.vertical) {
        Box(c.p, L + 2, T + 2, R - 2, std::max(T + 2, T + at - 10), background);
        Box(c.p, L + 2, std::min(B - 2, T + at + 12), R - 2, B - 2, background);
    } else {
        Box(c.p, L + 2, T + 1, std::max(L + 2, L + at - 10), B - 1, background);
        Box(c.p, std::min(R - 2, L + at + 12), T + 2, R - 2, B - 2, background);
    }
}

// The text in the middle of the bar; on a vertical bar turned to read upward, its top facing the left edge.
void DrawCentredText(const TBarCanvas& c, const QString& text, const QFont& font, TColor color) {
    if (text.isEmpty())
        return;
    QPainter& p = c.p;
    p.setFont(font);
    p.setPen(ToQColor(color));
    const QFontMetrics metrics = p.fontMetrics();
    const int w = metrics.horizontalAdvance(text), h = metrics.height();
    if (c.vertical) {
        p.translate(c.L + (c.R - c.L) / 2 - h / 2, c.T + (c.B - c.T) / 2 + w / 2);
        p.rotate(-90);
        p.drawText(0, metrics.ascent(), text);
    } else {
        p.drawText(c.L + (c.R - c.L) / 2 - w / 2, c.T + (c.B - c.T) / 2 - h / 2 + metrics.ascent(), text);
    }
}

int CheckedIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return index;
}

} // namespace

TLevelProgressBar::TLevelProgressBar(QWidget* parent)
    : QWidget(parent), FFont(MakeQFont(QStringLiteral("Verdana"), 13)), FTimer(nullptr, 50, false) {
    resize(128, 18);
    // Outside the rounded frame the parent shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    FTimer.OnTimer = [this](TTimer*) { Tick(); };
}

TLevelProgressBar::~TLevelProgressBar() = default;

void TLevelProgressBar::SetMin(int value) {
    if (value == FMin)
        return;
    FMin = value;
    RangeChanged();
}

void TLevelProgressBar::SetMax(int value) {
    if (value == FMax)
        return;
    FMax = value;
    RangeChanged();
}

void TLevelProgressBar::RangeChanged() {
    FUnit = int((std::int64_t(FMax) - FMin) / 100);
    update();
}

int TLevelProgressBar::Percentage() const {
    if (FMax == FMin)
        return 0;
    const double q = double(FPosition) / (double(FMax) - double(FMin)) * 100;
    return int(std::clamp<std::int64_t>(Round(q), INT_MIN, INT_MAX));
}

void TLevelProgressBar::SetPosition(int value) {
    if (value < FMin || value > FMax) {
        FPosition = value < FMin ? FMin : FMax;
        return;
    }
    FPosition = value;
    const int q = Percentage();
    const int step = FUnit != 0 ? value / FUnit : 0;
    // Positions that change neither the percentage nor the step unit do not change the picture.
    if (FUnit == 0 || value % FUnit == 0 || step != FLastStep || q != FLastPercent)
        repaint();
    FLastPercent = q;
    if (FUnit != 0)
        FLastStep = step;
}

TLevelColors TLevelProgressBar::LevelColors(int level) const {
    return FLevels[CheckedIndex(level, 4)];
}

void TLevelProgressBar::SetLevelColors(int level, TLevelColors value) {
    TLevelColors& field = FLevels[CheckedIndex(level, 4)];
    field = value;
    update();
}

TColor TLevelProgressBar::LevelBkColor(int level) const {
    return FLevelBk[CheckedIndex(level, 3)];
}

void TLevelProgressBar::SetLevelBkColor(int level, TColor value) {
    Set(FLevelBk[CheckedIndex(level, 3)], value);
}

void TLevelProgressBar::SetFormat(const QString& value) {
    if (!value.isEmpty()) {
        const int probe[] = {0, 0};
        FormatIntegers(value, probe); // raises for a format that cannot take the two numbers
    }
    Set(FFormat, value);
}

void TLevelProgressBar::SetInfinite(bool value) {
    if (value && !FInfinite) {
        FBusy = 0;
        FBusyDirection = 1;
    }
    FInfinite = value;
    UpdateTimer();
    update();
}

void TLevelProgressBar::SetAnimated(bool value) {
    FAnimated = value;
    UpdateTimer();
    update();
}

void TLevelProgressBar::UpdateTimer() {
    FTimer.SetEnabled(FInfinite && FAnimated);
}

void TLevelProgressBar::Tick() {
    FBusy += 4 * FBusyDirection;
    if (FBusy >= 100) {
        FBusy = 100;
        FBusyDirection = -1;
    } else if (FBusy <= 0) {
        FBusy = 0;
        FBusyDirection = 1;
    }
    repaint();
}

QString TLevelProgressBar::Text() const {
    if (!FShowPosition)
        return {};
    if (!FFormat.isEmpty()) {
        const int args[] = {FPosition, FMax};
        return FormatIntegers(FFormat, args);
    }
    // The busy mode draws the bar as full, and says so.
    const int q = FInfinite ? 100 : Percentage();
    return FShowPercentage ? QStringLiteral("%1%").arg(q) : QString::number(FPosition);
}

void TLevelProgressBar::DrawBar(QImage& image) const {
    const int R = image.width(), B = image.height();
    const bool vertical = FOrientation == goVertical;
    QPainter p(&image);
    if (FRounded)
        image.fill(kCornerKey);
    const TBarCanvas canvas{p, 0, 0, R, B, vertical, (vertical ? B : R) - 2, FShowGradient, FSteps};

    int q = Percentage(), level1 = FLevel1Perc, level2 = FLevel2Perc;
    if (FInfinite) {
        q = 100;
        level1 = level2 = 101;
    }
    // A Min above 0 can make the percentage leave 0..100: the fill still stays inside the frame.
    q = std::clamp(q, 0, 100);

    Frame(p, 0, 0, R, B, FRounded, FShowBorder ? FBorderColor : FBackgroundColor, FBackgroundColor);
    if (FLevelBk[0] != clNone || FLevelBk[1] != clNone || FLevelBk[2] != clNone)
        DrawZoneBackgrounds(canvas, FLevelBk, FLevel1Perc, FLevel2Perc);
    if (q > 0 && FStacked) {
        DrawStacked(canvas, FLevels, q, level1, level2);
    } else if (q > 0) {
        const int level = q < level1 ? 0 : q < level2 ? 1 : q > 99 ? 3 : 2;
        if (FCompletionSmooth)
            DrawSmooth(canvas, FLevels[level], q);
        else
            DrawBlocks(canvas, FLevels[level], q);
    }
    if (FInfinite)
        DrawBusyWindow(canvas, FBusy, FBackgroundColor);
    DrawCentredText(canvas, Text(), FFont, FFontColor);
}

void TLevelProgressBar::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0)
        return;
    // One bitmap per size: a paint of the same size draws into the one it has.
    if (FBitmap.size() != size())
        FBitmap = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    if (FBitmap.isNull())
        return;
    DrawBar(FBitmap);
    if (FRounded)
        for (int y = 0; y < FBitmap.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(FBitmap.scanLine(y));
            std::replace(row, row + FBitmap.width(), kCornerKey, QRgb(0));
        }
    QPainter(this).drawImage(0, 0, FBitmap);
}

} // namespace lanterna
