#include "transfer/internal/progress_dialog.h"

#include "platform/windows.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace lanterna {

namespace {

constexpr int kMargin = 10;
constexpr int kLineStep = 20;
constexpr int kLineHeight = 16;
constexpr int kBaseHeight = 188;

} // namespace

TProgressDialog::TProgressDialog(const TProgressDialogOptions& options)
    : QWidget(nullptr), FOptions(options) {
    const int timeLines = int(options.ShowTime) + int(options.ShowElapsedTime);
    const int y = options.ShowFileName ? 80 : 60;
    const int row = kLineStep * timeLines + (options.ShowFileName ? 140 : 120);
    const int lineWidth = kWidth - 2 * kMargin;

    Qt::WindowFlags flags =
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (options.ShowCloseBtn)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    if (options.OnTop)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);

    FFileLabel = MakeLine(options.FileLabel, 80, options.ShowFileName);
    FByteLine = MakeLine(options.ProgressLabel, y + kLineStep, true);
    FRateLine = MakeLine(options.RateLabel, y + 2 * kLineStep, true);
    FTimeLine = MakeLine(options.TimeLabel, y + 3 * kLineStep, options.ShowTime);
    FElapsedLine = MakeLine(options.ElapsedTimeLabel, y + 4 * kLineStep, options.ShowElapsedTime);

    FAnimation = new TAnimate(this);
    FAnimation->move(kMargin, 0);
    FAnimation->Play(ckDownload);

    FCancelButton = MakeButton(options.Cancel, kWidth - kButtonWidth - kMargin, row);
    FCancelButton->setVisible(options.ShowCancel);
    connect(FCancelButton, &QPushButton::clicked, this, [this] { Raise(OnCancel); });
    const int besideCancel = kWidth - 2 * kButtonWidth - 2 * kMargin;
    if (options.ShowOpenFolder) {
        FOpenFolderButton = MakeButton(options.OpenFolder, besideCancel, row);
        FOpenFolderButton->setEnabled(false);
        connect(FOpenFolderButton, &QPushButton::clicked, this, [this] { Raise(OnOpenFolder); });
    }
    if (options.ShowOpenFile) {
        FOpenFileButton = MakeButton(options.OpenFile,
                                     besideCancel - (FOpenFolderButton ? kButtonWidth + kMargin : 0), row);
        FOpenFileButton->setEnabled(false);
        connect(FOpenFileButton, &QPushButton::clicked, this, [this] { Raise(OnOpenFile); });
    }

    FBar = new QProgressBar(this);
    FBar->setRange(0, 100);
    FBar->setValue(0);
    FBar->setTextVisible(false);
    FBar->setGeometry(kMargin, 60, lineWidth, 12);

    setFixedSize(kWidth, kBaseHeight + kLineStep * timeLines - (options.ShowCancel ? 0 : kLineStep));
    CenterOnScreen(this);
}

QLabel* TProgressDialog::MakeLine(const QString& text, int top, bool visible) {
    auto* line = new QLabel(text, this);
    line->setGeometry(kMargin, top, kWidth - 2 * kMargin, kLineHeight);
    line->setVisible(visible);
    return line;
}

QPushButton* TProgressDialog::MakeButton(const QString& caption, int left, int top) {
    auto* button = new QPushButton(caption, this);
    button->setGeometry(left, top, kButtonWidth, kButtonHeight);
    return button;
}

void TProgressDialog::SetFileLine(const QString& text) {
    FFileLabel->setText(text);
}

void TProgressDialog::ShowProgress(const TProgressStep& step) {
    if (step.Percent >= 0)
        FBar->setValue(step.Percent);
    QString bytes = FOptions.ProgressLabel + u' ' + step.Moved;
    if (!step.Total.isEmpty())
        bytes += u' ' + FOptions.FileOfLabel + u' ' + step.Total;
    FByteLine->setText(bytes);
    FRateLine->setText(FOptions.RateLabel + u' ' + step.Rate);
    FTimeLine->setText(FOptions.TimeLabel + u' ' + step.TimeLeft);
    FElapsedLine->setText(FOptions.ElapsedTimeLabel + u' ' + step.Elapsed);
}

int TProgressDialog::Percent() const {
    return FBar->value();
}

void TProgressDialog::PutOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    raise();
}

void TProgressDialog::RunEnded(bool enableOpenButtons) {
    FRunEnded = true;
    FCancelButton->setText(FOptions.Close);
    FAnimation->Stop();
    for (QPushButton* button : {FOpenFileButton, FOpenFolderButton})
        if (button)
            button->setEnabled(enableOpenButtons);
}

void TProgressDialog::closeEvent(QCloseEvent* event) {
    if (!FOptions.ShowCloseBtn && !FRunEnded) {
        event->ignore();
        return;
    }
    event->accept();
    FClosedByUser = true;
    Raise(OnClose);
}

void TProgressDialog::Raise(const TProgressDialogEvent& event) {
    if (const TProgressDialogEvent call = event)
        call(this);
}

} // namespace lanterna
