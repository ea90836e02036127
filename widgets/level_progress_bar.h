#pragma once
// A progress bar whose fill changes colour with the percentage reached: one colour pair below a first
// threshold, a second up to a second threshold, a third above it and a fourth at 100 %. The fill is a row
// of 7-pixel blocks or one smooth block with a tube-like two-half gradient, inside a rounded frame, with
// the percentage in the middle. A busy mode moves a window to and fro instead of showing a position.
// The control is a transparent child widget: outside its rounded frame its parent shows.

#include "drawing/gradient_label.h"
#include "platform/store_changed.h"
#include "platform/timer.h"
#include "platform/types.h"

#include <QFont>
#include <QImage>
#include <QWidget>

namespace lanterna {

enum TGaugeOrientation : std::uint8_t { goHorizontal, goVertical };

// One colour pair of the fill: the tube's middle and its outer edges.
struct TLevelColors {
    TColor Color;
    TColor ColorTo;
};

class TLevelProgressBar : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TLevelProgressBar)

public:
    explicit TLevelProgressBar(QWidget* parent = nullptr);
    ~TLevelProgressBar() override;

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Within Min..Max the bar paints at once when what it shows can have changed; outside, the position
    // is clamped and nothing is painted.
    void SetPosition(int value);

    // Levels 0..3: below Level1Perc, below Level2Perc, up to 99 %, and 100 % (not used when stacked).
    // A level outside 0..3 raises EListError.
    TLevelColors LevelColors(int level) const;
    void SetLevelColors(int level, TLevelColors value);
    int Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(int value) { Set(FLevel1Perc, value); }
    int Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(int value) { Set(FLevel2Perc, value); }
    // Optional backgrounds of the three zones of the bar; clNone leaves a zone in BackgroundColor.
    // A zone outside 0..2 raises EListError.
    TColor LevelBkColor(int level) const;
    void SetLevelBkColor(int level, TColor value);

    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { Set(FBackgroundColor, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Set(FBorderColor, value); }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool value) { Set(FShowBorder, value); }
    bool Rounded() const { return FRounded; }
    void SetRounded(bool value) { Set(FRounded, value); }
    TGaugeOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TGaugeOrientation value) { Set(FOrientation, value); }
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool value) { Set(FCompletionSmooth, value); }
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool value) { Set(FShowGradient, value); }
    // Colour bands of each gradient half; 0 paints one band.
    int Steps() const { return FSteps; }
    void SetSteps(int value) { Set(FSteps, value); }
    bool Stacked() const { return FStacked; }
    void SetStacked(bool value) { Set(FStacked, value); }
    bool ShowPosition() const { return FShowPosition; }
    void SetShowPosition(bool value) { Set(FShowPosition, value); }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool value) { Set(FShowPercentage, value); }
    // When not empty, the text is this format applied to Position and Max ("%d of %d"); a format that
    // cannot take two whole numbers raises Exception and the old one stays.
    const QString& Format() const { return FFormat; }
    void SetFormat(const QString& value);
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& value) { Set(FFont, value); }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value) { Set(FFontColor, value); }

    // Busy mode: the timer moves the window while both are on.
    bool Infinite() const { return FInfinite; }
    void SetInfinite(bool value);
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool value);
    int InfiniteInterval() const { return FTimer.Interval(); }
    void SetInfiniteInterval(int value) { FTimer.SetInterval(value); }
    bool BusyTimerRunning() const { return FTimer.Enabled(); }
    // The busy timer's handler: moves the window by 4 % and paints at once.
    void Tick();

    static QString Version() { return QStringLiteral("1.2.0.2"); }

    // The percentage shown: 0 when Max equals Min.
    int Percentage() const;
    // The text written in the middle; empty without ShowPosition.
    QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (StoreChanged(field, value))
            update();
    }
    void RangeChanged();
    void UpdateTimer();
    // Draws the bar into the whole image; with Rounded the corners outside the frame are magenta.
    void DrawBar(QImage& image) const;

    int FMin = 0;
    int FMax = 100;
    int FPosition = 50;
    TLevelColors FLevels[4] = {
        {0x00FF00, 0xE1FFE1}, {0x00FFFF, 0xCAFFFF}, {0x53A9FF, 0xA8D3FF}, {0x0000FF, 0xCACAFF}};
    int FLevel1Perc = 70;
    int FLevel2Perc = 90;
    TColor FLevelBk[3] = {clNone, clNone, clNone};
    TColor FBackgroundColor = clWhite;
    TColor FBorderColor = clGray;
    bool FShowBorder = true;
    bool FRounded = true;
    TGaugeOrientation FOrientation = goHorizontal;
    bool FCompletionSmooth = false;
    bool FShowGradient = true;
    int FSteps = 8;
    bool FStacked = false;
    bool FShowPosition = true;
    bool FShowPercentage = true;
    QString FFormat;
    QFont FFont;
    TColor FFontColor = clBlack;
    bool FInfinite = false;
    bool FAnimated = false;

    int FUnit = 1;        // (Max - Min) div 100: positions within one unit share a paint
    int FLastPercent = 0; // what the last position change painted
    int FLastStep = 0;
    int FBusy = 0; // the busy window's place, 0..100 %
    int FBusyDirection = 1;
    TTimer FTimer;
    QImage FBitmap; // kept between paints of the same size
};

} // namespace lanterna
