#include "updater/list_form.h"

#include "platform/dialogs.h"
#include "platform/error_display.h"
#include "platform/fonts.h"
#include "release/release_apply.h"
#include "transfer/file_transfer.h"
#include "transfer/target_file.h"
#include "updater/outer_size.h"
#include "updater/release_run.h"
#include "updater/run_progress.h"
#include "updater/target_name.h"
#include "updater/update_description.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace updater {

using namespace lanterna;

namespace {

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

void SetUpEngine(TFileTransfer& engine) {
    engine.SetDlgCaption(QStringLiteral("Downloading ..."));
    engine.SetFTPPassive(true);
    engine.SetHTTPKeepAliveAuthentication(true);
    engine.SetShowDialog(false);
    engine.SetShowDialogOnTop(false);
    engine.SetShowFileName(false);
    engine.SetShowServer(false);
    engine.SetTimeout(0);
    // The player fetches the updater with the same cap: no program file of ours is larger.
    engine.SetMaxFileSize(256ull * 1024 * 1024);
}

} // namespace

TForm2::TForm2(TRunProgress& progress) : FProgress(progress) {
    setWindowTitle(QStringLiteral("Form2"));
    setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 11));
    // The design's place and size are those of the window with its frame.
    move(282, 259);
    (new TOuterSize(this))->SetOuterSize({391, 488});

    Label1 = new QLabel(QStringLiteral("List of files to download"), this);
    Label1->move(16, 32);

    StringGrid1 = new QTableWidget(kRowCount, 2, this);
    StringGrid1->setGeometry(16, 48, 345, 361);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setColumnWidth(0, 20);
    StringGrid1->setColumnWidth(1, 315);
    StringGrid1->setShowGrid(true);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);

    NacistDavku = MakeButton(this, QStringLiteral("Load"), {16, 416, 75, 25});
    connect(NacistDavku, &QPushButton::clicked, this, Guarded([this] { NacistDavkuClick(); }));
    StartBut = MakeButton(this, QStringLiteral("Start download"), {264, 416, 99, 25});
    connect(StartBut, &QPushButton::clicked, this, Guarded([this] { StartButClick(); }));

    // Until a description is loaded, a folder with a key takes no address at all.
    FDescription.Signed = UpdaterTrust(FProgress.Folder()).Signed();

    FileTransfer1 = new TFileTransfer(this);
    SetUpEngine(*FileTransfer1);
    FileTransfer1->OnFileDone = [this](TFileTransfer*, int idx) { FileTransfer1FileDone(idx); };
    FileTransfer1->OnCopyProgress = [this](TFileTransfer*, int fileidx, std::uint32_t size,
                                           std::uint32_t totsize) {
        FileTransfer1CopyProgress(fileidx, size, totsize);
    };
    FileTransfer1->OnCopyDone = [this](TFileTransfer*) { FileTransfer1CopyDone(); };
    FileTransfer1->OnCopyCancel = [this](TFileTransfer*) { FileTransfer1CopyCancel(); };
    FileTransfer1->OnConnectError = [this](TFileTransfer*) { FileTransfer1ConnectError(); };
    FileTransfer1->OnErrorInfo = [this](TFileTransfer*, int code, const QString& info) {
        FileTransfer1ErrorInfo(code, info);
    };
    FileTransfer1->OnURLNotFound = [this](TFileTransfer*, const QString& url) {
        FileTransfer1URLNotFound(url);
    };
}

TForm2::~TForm2() = default;

QString TForm2::Cell(int column, int row) const {
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

void TForm2::SetCell(int column, int row, const QString& text) {
    if (QTableWidgetItem* item = StringGrid1->item(row, column))
        item->setText(text);
    else if (!text.isEmpty())
        StringGrid1->setItem(row, column, new QTableWidgetItem(text));
}

void TForm2::NacistDavkuClick() {
    // Rows beyond the grid could never take part in a run, so they are not read.
    const QString adresar = FProgress.Folder();
    FDescription =
        ReadUpdateDescription(adresar + QStringLiteral("UpDate.dat"), kRowCount - 1, UpdaterTrust(adresar));
    const QString error = FDescription.Error.isEmpty() ? FDescription.Untrusted : FDescription.Error;
    if (!error.isEmpty()) {
        CurrentDialogs().Message(error);
        return;
    }
    for (int i = 0; i < FDescription.Files.size(); ++i)
        SetCell(1, i + 1, FDescription.Files[i]);
}

void TForm2::StartButClick() {
    if (!FProgress.BeginRun() || !PrepareRun())
        return;
    FileTransfer1->Items().Clear();
    FRefused = 0;
    FArrived.clear();
    int count = 0;
    for (int row = 1; row < kRowCount; ++row) {
        SetCell(0, row, QString());
        const QString url = Cell(1, row);
        if (!url.isEmpty() && AddTransfer(url))
            ++count;
    }
    FProgress.ShowFileCount(count);
    if (FileTransfer1->Items().Count() > 0) {
        FileTransfer1->StartCopy();
        return;
    }
    CurrentDialogs().Error(QStringLiteral("No files to download!"));
    FProgress.CloseProgram();
}

bool TForm2::AddTransfer(const QString& url) {
    // Names that would land outside the folder or replace the sign's own files are never fetched,
    // nor, from a signed description, a file without its listed size and hash; the run goes on.
    QString refusal;
    if (!IsSafeTargetName(url))
        refusal = QStringLiteral("Cannot create file outside the folder: ");
    else if (IsSignOwnTarget(url))
        refusal = QStringLiteral("Cannot replace the sign's own file: ");
    else if (FDescription.Signed && !FDescription.Checks.contains(url))
        refusal = QStringLiteral("File is not listed with its size and SHA-256: ");
    if (!refusal.isEmpty()) {
        ++FRefused;
        FileTransfer1ErrorInfo(3, refusal + url);
        return false;
    }
    TFileTransferItem* item = FileTransfer1->Items().Add();
    item->SetURL(url);
    item->SetTargetDir(FRelease ? FRelease->StagingFolder() : FProgress.Folder());
    if (FDescription.Signed) {
        const TFileCheck check = FDescription.Checks.value(url);
        item->SetExactSize(check.Size);
        item->SetSHA256(check.SHA256);
        item->SetExpectedSize(std::uint32_t(std::min<std::uint64_t>(check.Size, UINT32_MAX)));
    }
    return true;
}

bool TForm2::PrepareRun() {
    const QString adresar = FProgress.Folder();
    FLock = std::make_unique<TReleaseLock>(adresar);
    QString error;
    if (!FLock->TryLock())
        error = QStringLiteral("Another update is running in ") + adresar;
    else
        // What killed runs left behind goes before this run adds its own.
        RemoveTemporaries(adresar);
    if (error.isEmpty() && FDescription.Signed) {
        FRelease = std::make_unique<TReleaseRun>(adresar, FDescription.Version);
        FRelease->Prepare(error);
    }
    if (error.isEmpty())
        return true;
    EndRun(false, error);
    return false;
}

int TForm2::FailedFiles() const {
    int failed = FRefused;
    for (const auto& item : FileTransfer1->Items())
        failed += !item->Success();
    return failed;
}

void TForm2::EndRun(bool completed, const QString& text) {
    // A sign that updates itself by a signed release has no one to close the last box.
    if (FRelease && FProgress.Unattended())
        CurrentDialogs().NoticeWithin(completed ? mtInformation : mtError, text, kUnattendedBoxLimit);
    else if (completed)
        CurrentDialogs().Information(text);
    else
        CurrentDialogs().Error(text);
    FProgress.RunEnded();
}

void TForm2::FileTransfer1FileDone(int idx) {
    if (const TFileTransferItem* item = FileTransfer1->Items().Items(idx); item->Success())
        FArrived << QFileInfo(FileTransfer1->LastTargetFile()).fileName();
    SetCell(0, idx + 1, QStringLiteral("*"));
    FProgress.ShowFilesDone(idx + 1);
}

void TForm2::FileTransfer1CopyProgress(int /*fileidx*/, std::uint32_t size, std::uint32_t totsize) {
    FProgress.ShowFileProgress(int(size / kProgressUnit), int(totsize / kProgressUnit));
    if (const QLabel* engineLine = FileTransfer1->FileLabel())
        FProgress.ShowFileLine(engineLine->text());
}

void TForm2::FileTransfer1CopyDone() {
    FProgress.ShowCaption(QStringLiteral("Done"));
    FProgress.ShowStopped();
    const int failed = FailedFiles();
    if (failed > 0) {
        QString text = QStringLiteral("%1 of %2 files could not be updated.")
                           .arg(failed)
                           .arg(FileTransfer1->Items().Count() + FRefused);
        if (FRelease) {
            FRelease->Abandon();
            text += QStringLiteral(" Nothing was changed.");
        }
        EndRun(false, text);
    } else if (FRelease) {
        FArrived.removeDuplicates();
        FRelease->Finish(FArrived, [this](bool kept, const QString& text) { EndRun(kept, text); });
    } else {
        EndRun(true, QStringLiteral("Update is completed."));
    }
}

void TForm2::FileTransfer1CopyCancel() {
    FProgress.ShowCaption(QStringLiteral("Cancel"));
}

void TForm2::FileTransfer1ConnectError() {
    FProgress.ShowCaption(QStringLiteral("Connection Error"));
}

void TForm2::FileTransfer1ErrorInfo(int errorCode, const QString& errorInfo) {
    FProgress.ShowCaption(QStringLiteral("Error #") + QString::number(errorCode) + QStringLiteral(" (") +
                          errorInfo + QLatin1Char(')'));
}

void TForm2::FileTransfer1URLNotFound(const QString& url) {
    FProgress.ShowCaption(QStringLiteral("URL not found: ") + url);
}

} // namespace updater
