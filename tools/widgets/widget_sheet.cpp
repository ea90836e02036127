// Renders one sheet of the widget kit's moving and styled widgets into a PNG: the busy ring at several
// ticks and with a position, the level bar at the percentages where its colour changes and in each of
// its modes, and the updater's glass buttons and labels with reflection.
//
// Usage: widget_sheet [output.png]   (default: widget-sheet.png)
#include "platform/fonts.h"
#include "testing/application.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"
#include "widgets/reflection_label.h"

#include <QLabel>

#include <cstdio>

using namespace lanterna;

namespace {

constexpr int kMargin = 16;

// A caption under or beside a widget.
void Caption(QWidget* sheet, const QString& text, int x, int y, int width = 120) {
    auto* label = new QLabel(text, sheet);
    label->setFont(MakeQFont(QStringLiteral("Tahoma"), 11));
    label->setGeometry(x, y, width, 16);
}

TCircularProgress* Ring(QWidget* sheet, int x, int y, int ticks, const QString& caption) {
    auto* ring = new TCircularProgress(sheet);
    ring->SetInterval(0); // the sheet steps the head itself
    ring->move(x, y);
    for (int n = 0; n < ticks; ++n)
        ring->Tick();
    Caption(sheet, caption, x, y + 62, 90);
    return ring;
}

TLevelProgressBar* Bar(QWidget* sheet, int x, int y, int percent, const QString& caption) {
    auto* bar = new TLevelProgressBar(sheet);
    bar->setGeometry(x, y, 417, 18);
    bar->SetPosition(percent);
    Caption(sheet, caption, x + 425, y + 1, 220);
    return bar;
}

// The ring: the updater's look at several ticks, one round filling and the next emptying, then with a
// position, a border and a small size.
void PlaceRings(QWidget* sheet) {
    int x = kMargin;
    for (int ticks : {0, 1, 3, 6, 11, 12, 15, 23})
        Ring(sheet, x, kMargin, ticks, QStringLiteral("tick %1").arg(ticks)), x += 80;
    TCircularProgress* position = Ring(sheet, x, kMargin, 0, QStringLiteral("position 50"));
    position->SetPosition(50);
    for (int n = 0; n < 13; ++n)
        position->Tick();
    TCircularProgress* bordered = Ring(sheet, kMargin, 110, 4, QStringLiteral("border, 250 x 100"));
    bordered->resize(250, 100);
    bordered->Appearance().SetBorderColor(clGray);
    bordered->Appearance().SetBackGroundColor(0xF0F0F0);
    TCircularProgress* small = Ring(sheet, 290, 110, 7, QStringLiteral("30 x 30"));
    small->resize(30, 30);
}

// The bar at the updater's size, through its colour levels, then in its other modes, one a row from y
// down. Returns the bottom of the last row.
int PlaceBars(QWidget* sheet, int y) {
    for (int percent : {0, 33, 50, 69, 70, 90, 99, 100})
        Bar(sheet, kMargin, y, percent, QStringLiteral("%1 %").arg(percent)), y += 24;
    Bar(sheet, kMargin, y, 95, QStringLiteral("stacked, 95 %"))->SetStacked(true), y += 24;
    Bar(sheet, kMargin, y, 63, QStringLiteral("smooth, 63 %"))->SetCompletionSmooth(true), y += 24;
    TLevelProgressBar* busy = Bar(sheet, kMargin, y, 0, QStringLiteral("busy, 12 ticks"));
    busy->SetShowPosition(false);
    busy->SetInfinite(true);
    for (int n = 0; n < 12; ++n)
        busy->Tick();
    y += 24;
    TLevelProgressBar* format = Bar(sheet, kMargin, y, 0, QStringLiteral("Format \"%d of %d\""));
    format->SetMax(12);
    format->SetPosition(7);
    format->SetFormat(QStringLiteral("%d of %d"));
    y += 24;
    TLevelProgressBar* zones = Bar(sheet, kMargin, y, 40, QStringLiteral("zone backgrounds, square"));
    zones->SetLevelBkColor(1, 0xE0F0FF);
    zones->SetLevelBkColor(2, 0xE0E0FF);
    zones->SetRounded(false);
    return y + 30;
}

// Three upright bars beside the others, from y down.
void PlaceVerticalBars(QWidget* sheet, int y) {
    int x = 700;
    for (auto [percent, stacked] : {std::pair{50, false}, {95, true}, {75, false}}) {
        auto* vertical = new TLevelProgressBar(sheet);
        vertical->setGeometry(x, y, 18, 160);
        vertical->SetOrientation(goVertical);
        vertical->SetStacked(stacked);
        vertical->SetPosition(percent);
        x += 40;
    }
    Caption(sheet, QStringLiteral("vertical: 50, stacked 95, 75"), 680, y + 164, 200);
}

void TitleLabel(QWidget* sheet, const QRect& geometry, const QString& html) {
    auto* label = new TReflectionLabel(sheet);
    label->setGeometry(geometry);
    label->setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 23, true));
    label->SetHTMLText(html);
}

TGlassButton* Button(QWidget* sheet, const QString& caption, TColor color, TColor shine, int x, int y) {
    auto* button = new TGlassButton(caption, color, sheet);
    button->setGeometry(x, y, 167, 57);
    button->setFont(MakeQFont(QStringLiteral("Arial"), 16, true));
    button->SetShineColor(shine);
    return button;
}

// The updater's labels and buttons at their designed sizes, from y down. Returns the bottom.
int PlaceUpdaterControls(QWidget* sheet, int y) {
    TitleLabel(sheet, {kMargin, y, 217, 41}, QStringLiteral("<p align=\"center\">Update system for</p>"));
    TitleLabel(sheet, {kMargin + 230, y, 409, 41}, QStringLiteral("<p align=\"center\">wait..</p>"));
    y += 50;
    const TColor cancelShine = RGBColor(0xFF, 0x80, 0x80);
    Button(sheet, QStringLiteral("Start"), clGreen, clLime, kMargin, y);
    Button(sheet, QStringLiteral("Zrušit"), clRed, cancelShine, kMargin + 180, y)->setEnabled(false);
    Button(sheet, QStringLiteral("Zrušit"), clRed, cancelShine, kMargin + 360, y);
    Caption(sheet, QStringLiteral("Start; Zrušit disabled and enabled"), kMargin, y + 60, 300);
    return y + 90;
}

} // namespace

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    RegisterFonts();
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("widget-sheet.png");

    QWidget sheet;
    sheet.setAutoFillBackground(true);
    sheet.setPalette(QPalette(Qt::white));
    sheet.resize(900, 760);
    PlaceRings(&sheet);
    const int barsTop = 240;
    const int barsBottom = PlaceBars(&sheet, barsTop);
    PlaceVerticalBars(&sheet, barsTop);
    sheet.resize(900, PlaceUpdaterControls(&sheet, barsBottom + 10));

    const QImage image = sheet.grab().toImage();
    if (!image.save(output)) {
        std::fprintf(stderr, "widget_sheet: cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}
