#pragma once
// The download list window: the addresses of UpDate.dat in an editable grid, turned into the
// download engine's transfers, whose events show on the main window through its TRunProgress.

#include "updater/update_description.h"

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;

namespace lanterna {
class TFileTransfer;
class TReleaseLock;
} // namespace lanterna

namespace updater {

class TReleaseRun;
class TRunProgress;

class TForm2 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    static constexpr int kRowCount = 1000; // row 0 is never used
    // The progress bar of the current file counts in steps of this many bytes.
    static constexpr std::uint32_t kProgressUnit = 10000;
    // How long the box that ends an unattended signed run waits before it closes by itself.
    static constexpr std::chrono::seconds kUnattendedBoxLimit{60};

    explicit TForm2(TRunProgress& progress);
    ~TForm2() override;

    QLabel* Label1;
    QTableWidget* StringGrid1;
    QPushButton* NacistDavku;
    QPushButton* StartBut;
    lanterna::TFileTransfer* FileTransfer1;

    // The grid's text at (column, row); empty for a cell never written.
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

    void NacistDavkuClick();
    void StartButClick();

    void FileTransfer1FileDone(int idx);
    void FileTransfer1CopyProgress(int fileidx, std::uint32_t size, std::uint32_t totsize);
    void FileTransfer1CopyDone();
    void FileTransfer1CopyCancel();
    void FileTransfer1ConnectError();
    void FileTransfer1ErrorInfo(int errorCode, const QString& errorInfo);
    void FileTransfer1URLNotFound(const QString& url);

private:
    // Takes the folder's lock and, for a signed description, a staging folder; otherwise ends the
    // run with the reason.
    bool PrepareRun();
    // Adds the transfer of `url`, or reports why it may not be fetched and returns false.
    bool AddTransfer(const QString& url);
    // The listed files that did not arrive, refused ones included.
    int FailedFiles() const;
    // The box that ends the run, an information or an error, then the program's end.
    void EndRun(bool completed, const QString& text);

    TRunProgress& FProgress;
    // What the last load read: whether only signed descriptions count, the version and the files'
    // sizes and hashes. In a signed description no other address is fetched.
    TUpdateDescription FDescription;
    int FRefused = 0;
    // The names of the files that arrived, in the folder or in the staging folder.
    QStringList FArrived;
    std::unique_ptr<lanterna::TReleaseLock> FLock;
    std::unique_ptr<TReleaseRun> FRelease;
};

} // namespace updater
