#pragma once
// A ring of twelve segments whose head travels clockwise once every twelve timer ticks, filling the ring
// behind it in one colour and emptying it again on the next round: a busy indicator. It can also show a
// position between Min and Max as a number of segments in a colour of their own. The timer runs exactly
// while the control is enabled. The control is a transparent child widget: its parent shows around and
// inside the ring.

#include "drawing/gp_path.h"
#include "drawing/graphic.h"
#include "platform/timer.h"

#include <QWidget>

#include <array>
#include <functional>

namespace lanterna {

// The six colours of the ring; each change notifies the owner, which repaints.
class TProgressAppearance : public TPersistent {
public:
    // Copies all six colours from another appearance.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    // Filled behind the ring; clNone for none.
    TColor BackGroundColor() const { return FBackGroundColor; }
    void SetBackGroundColor(TColor v) { Set(FBackGroundColor, v); }
    // An outline round the control; clNone for none (the ring then takes the whole control).
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    // Segments passed in the filling round, still ahead in the emptying round.
    TColor ActiveSegmentColor() const { return FActiveSegmentColor; }
    void SetActiveSegmentColor(TColor v) { Set(FActiveSegmentColor, v); }
    // The head.
    TColor TransitionSegmentColor() const { return FTransitionSegmentColor; }
    void SetTransitionSegmentColor(TColor v) { Set(FTransitionSegmentColor, v); }
    TColor InActiveSegmentColor() const { return FInActiveSegmentColor; }
    void SetInActiveSegmentColor(TColor v) { Set(FInActiveSegmentColor, v); }
    // Empty segments within the position.
    TColor ProgressSegmentColor() const { return FProgressSegmentColor; }
    void SetProgressSegmentColor(TColor v) { Set(FProgressSegmentColor, v); }

private:
    void Set(TColor& field, TColor value);

    TColor FBackGroundColor = clNone;
    TColor FBorderColor = clNone;
    TColor FActiveSegmentColor = 0xFF9F9F;
    TColor FTransitionSegmentColor = 0xA00000;
    TColor FInActiveSegmentColor = clSilver;
    TColor FProgressSegmentColor = 0x400080;
};

class TCircularProgress : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCircularProgress)

public:
    static constexpr int kSegments = 12;

    explicit TCircularProgress(QWidget* parent = nullptr);
    ~TCircularProgress() override;

    TProgressAppearance& Appearance() { return FAppearance; }
    const TProgressAppearance& Appearance() const { return FAppearance; }
    // Copies the colours.
    void SetAppearance(const TProgressAppearance& value) { FAppearance.Assign(&value); }

    int Min() const { return FMin; }
    // Ignored when negative or above Max; a position below the new Min is raised to it.
    void SetMin(int value);
    int Max() const { return FMax; }
    // Ignored when negative; a position above the new Max is lowered to it.
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Ignored outside Min..Max; else the value becomes the head and a filling round starts.
    void SetPosition(int value);
    // Stored for the designer's sake; the drawing does not use it.
    int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    int Interval() const { return FTimer.Interval(); }
    void SetInterval(int value) { FTimer.SetInterval(value); }
    static QString Version() { return QStringLiteral("1.0.1.1"); }

    // The head's segment (1..12 once it moves) and whether the ring is filling or emptying.
    int Head() const { return FHead; }
    bool Filling() const { return FFilling; }
    bool TimerRunning() const { return FTimer.Enabled(); }
    // The sweep of each segment in degrees, by the control's larger side.
    float Sweep() const;
    // The colour of segment i (1..12) for the head, the round and the position as they are.
    TColor SegmentColor(int i) const;
    // The number of segments the position covers; -1 for none.
    int PositionSegments() const;

    // The animation timer's handler: moves the head one segment on and repaints what changed.
    void Tick();

    std::function<void(TCircularProgress* sender)> OnProgressUpdate;
    std::function<void(TCircularProgress* sender)> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void BuildGeometry();

    TProgressAppearance FAppearance;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    int FHead = 1;
    bool FFilling = true;
    QSize FGeometrySize; // the size the paths were built for
    std::array<TGPGraphicsPath, kSegments> FSegments;
    TGPGraphicsPath FInnerCircle; // cut out of the ring by the clip
    TTimer FTimer;
};

} // namespace lanterna
