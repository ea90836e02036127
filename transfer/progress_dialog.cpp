#include "transfer/progress_dialog.h"

#include "platform/windows.h"
#include "transfer/file_transfer.h"

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

TProgressDialog::TProgressDialog(TFileTransfer& owner) : QWidget(nullptr), FOwner(owner) {
    const int timeLines = int(owner.ShowTime()) + int(owner.ShowElapsedTime());
    const int y = owner.ShowFileName() ? 80 : 60;
    const int row = kLineStep * timeLines + (owner.ShowFileName() ? 140 : 120);
    const int lineWidth = kWidth - 2 * kMargin;

    Qt::WindowFlags flags =
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (owner.DlgShowCloseBtn())
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    if (owner.ShowDialogOnTop())
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);

    FFileLabel = MakeLine(owner.DlgFileLabel(), 80, owner.ShowFileName());
    FByteLine = MakeLine(owner.DlgProgressLabel(), y + kLineStep, true);
    FRateLine = MakeLine(owner.DlgRateLabel(), y + 2 * kLineStep, true);
    FTimeLine = MakeLine(owner.DlgTimeLabel(), y + 3 * kLineStep, owner.ShowTime());
    FElapsedLine = MakeLine(owner.DlgElapsedTimeLabel(), y + 4 * kLineStep, owner.ShowElapsedTime());

    FAnimation = new TAnimate(this);
    FAnimation->move(kMargin, 0);
    FAnimation->Play(ckDownload);

    FCancelButton = MakeButton(owner.DlgCancel(), kWidth - kButtonWidth - kMargin, row);
    FCancelButton->setVisible(owner.DlgShowCancel());
    connect(FCancelButton, &QPushButton::clicked, this, [this] { FOwner.CancelButtonClick(); });
    const int besideCancel = kWidth - 2 * kButtonWidth - 2 * kMargin;
    if (owner.ShowOpenFolder()) {
        FOpenFolderButton = MakeButton(owner.DlgOpenFolder(), besideCancel, row);
        FOpenFolderButton->setEnabled(false);
        connect(FOpenFolderButton, &QPushButton::clicked, this, [this] { FOwner.OpenFolderButtonClick(); });
    }
    if (owner.ShowOpenFile()) {
        FOpenFileButton = MakeButton(owner.DlgOpenFile(),
                                     besideCancel - (FOpenFolderButton ? kButtonWidth + kMargin : 0), row);
        FOpenFileButton->setEnabled(false);
        connect(FOpenFileButton, &QPushButton::clicked, this, [this] { FOwner.OpenFileButtonClick(); });
    }

    FBar = new QProgressBar(this);
    FBar->setRange(0, 100);
    FBar->setValue(0);
    FBar->setTextVisible(false);
    FBar->setGeometry(kMargin, 60, lineWidth, 12);

    setFixedSize(kWidth, kBaseHeight + kLineStep * timeLines - (owner.DlgShowCancel() ? 0 : kLineStep));
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

void TProgressDialog::PutOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    raise();
}

void TProgressDialog::RunEnded(bool enableOpenButtons) {
    FCancelButton->setText(FOwner.DlgClose());
    FAnimation->Stop();
    for (QPushButton* button : {FOpenFileButton, FOpenFolderButton})
        if (button)
            button->setEnabled(enableOpenButtons);
}

void TProgressDialog::closeEvent(QCloseEvent* event) {
    if (!FOwner.DlgShowCloseBtn() && !FOwner.Finished()) {
        event->ignore();
        return;
    }
    event->accept();
    FClosedByUser = true;
    FOwner.DialogClosed(this);
}

} // namespace lanterna
