#pragma once
// The small looping clips of the progress dialog and the strip that plays them.

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace lanterna {

enum TClipKind : std::uint8_t { ckDownload, ckUpload, ckCopy };

struct TClip {
    std::vector<QImage> Frames;
    int FramesPerSecond = 0;
};

// The clips are drawn once and shared: a sheet travelling from a server to a folder (download,
// 31 frames at 15 per second), back to the server (upload, 26 frames at 10 per second), or from
// folder to folder (copy). Every frame is 272 × 60 pixels.
const TClip& Clip(TClipKind kind);

// Plays a clip in a loop while it is active and visible; the timer runs only then.
class TAnimate final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAnimate)

public:
    explicit TAnimate(QWidget* parent);

    // Switches to a clip and starts it from its first frame.
    void Play(TClipKind kind);
    void Stop();
    bool Active() const { return FActive; }
    bool TimerRunning() const { return FTimer.isActive(); }
    TClipKind Kind() const { return FKind; }
    int Frame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateTimer();
    void NextFrame();

    QTimer FTimer;
    TClipKind FKind = ckDownload;
    bool FActive = false;
    int FFrame = 0;
};

} // namespace lanterna
