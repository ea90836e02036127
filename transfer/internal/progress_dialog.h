#pragma once
// The progress dialog that every run of the download engine builds in code: a clip, the bar of
// the current transfer, the file, byte, rate and time lines, and its buttons. It knows nothing of
// the engine: it is built from a plain value, shows what it is given and raises events for its buttons.

#include "transfer/internal/transfer_clips.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lanterna {

// The dialog's texts and which of its parts show.
struct TProgressDialogOptions {
    QString FileLabel;
    QString ProgressLabel;
    QString FileOfLabel;
    QString RateLabel;
    QString TimeLabel;
    QString ElapsedTimeLabel;
    QString Cancel;
    QString Close;
    QString OpenFile;
    QString OpenFolder;
    bool ShowFileName = false;
    bool ShowTime = false;
    bool ShowElapsedTime = false;
    bool ShowCancel = false;
    // The window's close box, which may close the dialog while a run goes on.
    bool ShowCloseBtn = false;
    bool OnTop = false;
    bool ShowOpenFile = false;
    bool ShowOpenFolder = false;
};

// One block of a transfer as the dialog shows it; each text follows its line's label.
struct TProgressStep {
    // The bar, 0 .. 100; -1 leaves it where it is (a size that is not known).
    int Percent = -1;
    QString Moved;
    // Empty when the size is not known.
    QString Total;
    QString Rate;
    QString TimeLeft;
    QString Elapsed;
};

class TProgressDialog final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TProgressDialog)

public:
    static constexpr int kWidth = 300;
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;

    using TProgressDialogEvent = std::function<void(TProgressDialog* Sender)>;

    // Built, not shown; the clip of downloads plays.
    explicit TProgressDialog(const TProgressDialogOptions& options);

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
    void SetFileLine(const QString& text);
    void ShowProgress(const TProgressStep& step);
    // Where the bar stands, 0 .. 100.
    int Percent() const;
    // Above all windows of all programs, where it is.
    void PutOnTop();
    // The run has ended and the dialog stays: Close instead of Cancel, the clip stops and the open
    // buttons work unless the run was cancelled.
    void RunEnded(bool enableOpenButtons);
    bool ClosedByUser() const { return FClosedByUser; }

    // Events: the buttons, and the dialog closed by the user or its owner.
    TProgressDialogEvent OnCancel;
    TProgressDialogEvent OnClose;
    TProgressDialogEvent OnOpenFile;
    TProgressDialogEvent OnOpenFolder;

protected:
    // Closing is allowed only with the close box shown or once the run has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* MakeLine(const QString& text, int top, bool visible);
    QPushButton* MakeButton(const QString& caption, int left, int top);

    // Raises an event through a copy: the handler may free the dialog.
    void Raise(const TProgressDialogEvent& event);

    const TProgressDialogOptions FOptions;
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
    bool FRunEnded = false;
};

} // namespace lanterna
