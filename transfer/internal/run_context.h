#pragma once
// The context that a run of the engine hands each transfer. It lives on the run's stack and holds
// what the run opens, so that a run whose engine is destroyed by a handler frees it when it unwinds;
// everything that reaches the engine itself goes through the engine's guarded events and pump.

#include "transfer/file_transfer.h"
#include "transfer/internal/ftp_link.h"
#include "transfer/internal/transfer_context.h"

#include <memory>

namespace lanterna {

class TFileTransfer::TRunContext final : public TTransferContext {
public:
    explicit TRunContext(TFileTransfer& engine);
    ~TRunContext() override;
    TRunContext(const TRunContext&) = delete;
    TRunContext& operator=(const TRunContext&) = delete;

    void OpenSession();
    bool HasSession() const { return FSession != nullptr; }
    // Item `index` begins, with the engine's settings as they are now.
    void BeginItem(int index);
    // Closes the kept FTP connection and the session: the run's items are done.
    void EndConnections();
    // The dialog of an engine destroyed during the run, freed when the run has unwound.
    void KeepDialog(std::unique_ptr<TProgressDialog> dialog);

    const TTransferSettings& Settings() const override { return FSettings; }
    TInternetSession& Session() override { return *FSession; }
    TFtpKept& KeptFtp() override { return FFtp; }

    void PlayClip(TClipKind clip) override;
    void ItemLine(const QString& name, const QString& serverWord, const QString& server) override;
    void FileLine(int number, int count, const QString& name, const QString& serverWord,
                  const QString& server) override;
    void ListLine(const QString& line) override;
    void BlockProgress(std::uint64_t moved, std::uint32_t total, TTick start,
                       TTransferDirection direction) override;

    void SetLastTarget(const QString& file, const QString& folder) override;
    void StoreListing(const QStringList& names, const TFileDetailItems& details) override;

    void ReportError(const TLibraryError& error) override;
    void URLNotFound(const QString& url) override;
    void ConnectError() override;
    bool AllowOverwrite(const QString& path) override;
    bool ChecksDates() const override;
    bool AllowDate(double date) override;
    void NoNewFileFound(const QString& name, double current, double found) override;
    void MultiFileDone(const QString& name) override;
    void Removed(bool removed) override;

    bool AskLogin(const QString& requestUrl, QString& user, QString& password) override;
    void ProcessMessages() override;
    bool Idle() override;
    bool Cancelled() const override;
    void ResetCancel() override;

private:
    // Block progress pumps the message queue at most this often.
    static constexpr std::chrono::milliseconds kPumpEvery{5};

    // The counter before a file's name: "2 of 5 : ".
    QString Counter(int number, int count) const;
    void Line(const QString& counter, const QString& name, const QString& serverWord, const QString& server);

    TFileTransfer& FEngine;
    int FIndex = 0;
    TTransferSettings FSettings;
    std::unique_ptr<TInternetSession> FSession;
    TFtpKept FFtp;
    std::unique_ptr<TProgressDialog> FOrphanedDialog;
    TTick FLastPump;
};

} // namespace lanterna
