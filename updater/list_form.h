#pragma once
// The download list window: the addresses of UpDate.dat in an editable grid, turned into the
// download engine's transfers, whose events show on the main window.

#include "updater/update_description.h"
#include "updater/windows.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QTableWidget;

namespace lanterna {
class TFileTransfer;
}

namespace updater {

class TForm2 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    static constexpr int kRowCount = 1000; // row 0 is never used
    // The progress bar of the current file counts in steps of this many bytes.
    static constexpr std::uint32_t kProgressUnit = 10000;

    explicit TForm2(Windows& windows);

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
    void SetMainCaption(const QString& caption);
    // Adds the transfer of `url`, or reports why it may not be fetched and returns false.
    bool AddTransfer(const QString& url);
    // After a run of a signed description in which every file arrived, its version is installed.
    void RecordRelease();

    Windows& FWindows;
    // What the last load read: whether only signed descriptions count, the version and the files'
    // sizes and hashes. In a signed description no other address is fetched.
    TUpdateDescription FDescription;
    int FRefused = 0;
};

} // namespace updater
