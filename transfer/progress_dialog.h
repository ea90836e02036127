#pragma once
// The progress dialog that every run of the download engine builds in code: a clip, the bar of
// the current transfer, the file, byte, rate and time lines, and its buttons.

#include "transfer/transfer_clips.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lanterna {

class TFileTransfer;

class TProgressDialog final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TProgressDialog)

public:
    static constexpr int kWidth = 300;
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;

    // Built from the owner's display properties, not shown; the clip of downloads plays.
    explicit TProgressDialog(TFileTransfer& owner);

    TAnimate* Animation() const { return FAnimation; }
    QProgressBar* Bar() const { return FBar; }
    QLabel* FileLabel() const { return FFileLabel; }
    QLabel* ByteLine() const { return FByteLine; }
    QLabel* RateLine() const { return FRateLine; }
    QLabel* TimeLine() const { return FTimeLine; }
    QLabel* ElapsedLine() const { return FElapsedLine; }
    QPushButton* CancelButton() const { return FCancelButton; }
    QPushButton* OpenFileButton() const { return FOpenFileButton; }
    QPushButton* OpenFolderButton() const { return FOpenFolderButton; }

    void SetTitle(const QString& title) { setWindowTitle(title); }
    // Above all windows of all programs, where it is.
    void PutOnTop();
    // The run has ended and the dialog stays: Close instead of Cancel, the clip stops and the open
    // buttons work unless the run was cancelled.
    void RunEnded(bool enableOpenButtons);
    bool ClosedByUser() const { return FClosedByUser; }

protected:
    // Closing is allowed only with the close box shown or once the run has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* MakeLine(const QString& text, int top, bool visible);
    QPushButton* MakeButton(const QString& caption, int left, int top);

    TFileTransfer& FOwner;
    TAnimate* FAnimation;
    QProgressBar* FBar;
    QLabel* FFileLabel;
    QLabel* FByteLine;
    QLabel* FRateLine;
    QLabel* FTimeLine;
    QLabel* FElapsedLine;
    QPushButton* FCancelButton;
    QPushButton* FOpenFileButton = nullptr;
    QPushButton* FOpenFolderButton = nullptr;
    bool FClosedByUser = false;
};

} // namespace lanterna
