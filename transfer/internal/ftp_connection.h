#pragma once
// One FTP control connection over the internet library, driven from the user-interface thread.
// The engine keeps it between transfers; the current remote folder is kept here and every command
// names its file by the full path, so a connection that had to be renewed loses nothing. A kept
// connection that the server has closed meanwhile is renewed once, before anything has moved.

#include "transfer/internal/ftp_listing.h"
#include "transfer/internal/library_drive.h"
#include "transfer/internal/library_error.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <curl/curl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lanterna {

struct TFtpOptions {
    QString Host;
    int Port = 21;
    // Both empty or either empty: the anonymous log-in.
    QString User;
    QString Password;
    bool Passive = false;
    // Seconds for connecting, for an answer and for a wait in which no data moves; 0: the engine's own.
    int Timeout = 0;
    // An exchange that moves fewer than LowSpeedBytes a second for LowSpeedSeconds fails.
    long LowSpeedBytes = 300;
    long LowSpeedSeconds = 30;
};

// What the server says of one name: there (with its facts), not there, or it could not tell.
enum TFtpFound : std::uint8_t { fdFound, fdMissing, fdUnknown };

class TFtpConnection {
public:
    // `idle` is called every few milliseconds while the connection waits; false gives the wait up.
    TFtpConnection(TFtpOptions options, std::function<bool()> idle);
    ~TFtpConnection();
    TFtpConnection(const TFtpConnection&) = delete;
    TFtpConnection& operator=(const TFtpConnection&) = delete;

    // Logs in; the current folder becomes the one the server starts in.
    bool Connect();
    QString CurrentFolder() const { return FCurrent; }
    // `folder` is absolute or relative to the current one; it becomes current only when the server
    // can change to it.
    bool SetCurrentFolder(const QString& folder);
    // Back to a folder that was current before: it needs no asking.
    void ReturnTo(const QString& folder) { FCurrent = folder; }
    bool CreateFolder(const QString& name);
    bool Delete(const QString& name);
    // The entries of the current folder (never "." or ".."); none when the listing fails.
    std::optional<std::vector<TFtpEntry>> List();
    // Looks `name` up by itself (MLST, else SIZE and MDTM); only a server that knows neither way has
    // its folder listed. `entry` is filled when found; Error() says why when unknown.
    TFtpFound Find(const QString& name, TFtpEntry& entry);

    // Download: true once the server has opened the file; then Read gives up to `size` bytes, 0 at
    // the end and -1 on failure.
    bool OpenRead(const QString& name);
    std::int64_t Read(char* buffer, std::size_t size);
    // Upload of `size` bytes: true once the server takes data; Write hands one block over and
    // EndWrite waits for the server to confirm the whole file.
    bool OpenWrite(const QString& name, std::int64_t size);
    bool Write(const char* data, std::size_t size);
    bool EndWrite();
    // Drops an unfinished download or upload.
    void Abort();

    const TLibraryError& Error() const { return FDrive.Error(); }
    // The full remote path of `name` taken relative to the current folder.
    QString PathOf(const QString& name) const;

private:
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* self);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* self);

    // Readies the handle for one exchange on `path` (a folder when it ends with "/"); `data` when
    // it opens a data connection.
    void Configure(const QString& path, bool data);
    void RecordTextOnceConnected();
    // Runs an exchange that moves no data: the log-in, then the raw `commands`; a refusal of one of
    // them is no failure here, Reply() tells. A server that says it closes (421) fails it.
    bool Exchange(const QList<QByteArray>& commands);
    // An exchange of one command that the server must accept.
    bool Command(const QByteArray& command);
    // Command `verb` on the full remote `path`; a path that would break the command line fails.
    // True when the connection is open and `path` holds no line break that would add a command;
    // otherwise the transfer fails as a malformed address.
    bool AcceptsPath(const QString& path);
    bool PathCommand(const QByteArray& verb, const QString& path);
    // A reply of 400 or above to `command` ends the exchange as failed; true then.
    bool Refused(const QByteArray& command);
    bool RunToEnd();
    // The code of the last reply.
    long Reply() const;
    // Runs `exchange`; when it failed because the server had closed the reused control connection,
    // runs it once more on a new one.
    bool Renewing(const std::function<bool()>& exchange);
    bool ClosedByServer() const;
    // The ways of Find; none when the server does not know that way.
    std::optional<TFtpFound> FindByFacts(const QByteArray& path, TFtpEntry& entry);
    std::optional<TFtpFound> FindBySizeAndDate(const QByteArray& path, TFtpEntry& entry);
    TFtpFound FindListed(const QString& name, TFtpEntry& entry);

    TFtpOptions FOptions;
    // The multi handle keeps the control connection; it goes after the drive's handle.
    std::unique_ptr<CURLM, CURLMcode (*)(CURLM*)> FMulti;
    TLibraryDrive FDrive;
    CURL* const FEasy;
    curl_slist* FQuote = nullptr;
    QString FCurrent = QStringLiteral("/");
    // Servers that do not know the machine-readable listing get the plain one; those that do not
    // know MLST are asked SIZE and MDTM, and those that know neither have the folder listed.
    bool FMachineListing = true;
    bool FMachineLookup = true;
    bool FSizeLookup = true;
    // The next exchange opens a new control connection.
    bool FRenew = false;
    // The text of the last reply line after its code, and the last line that began with a blank
    // (the facts of an MLST reply), without that blank.
    QByteArray FReplyText;
    QByteArray FFactsLine;

    // What comes in: a listing or a file, held up to a bound.
    std::vector<char> FBody;
    std::size_t FBodyRead = 0;
    std::size_t FBodyLimit = 0;
    bool FOpened = false;
    // The library has the error buffer of this exchange.
    bool FTextRecorded = false;
};

} // namespace lanterna
