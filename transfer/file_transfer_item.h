#pragma once
// One transfer of the download engine and the collection that holds them: what the owner fills in
// before a run, and what the run leaves in each item (success, the date found, an FTP listing).

#include "transfer/property.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace lanterna {

class TFileTransfer;

enum TFileTransferProtocol : std::uint8_t {
    wpHttp,
    wpFtp,
    wpFile,
    wpFtpUpload,
    wpHttpUpload,
    wpMultiFtp,
    wpMultiFtpUpload,
    wpFtpDelete,
    wpFtpList,
    wpFtpTest
};
enum TFileTransferAuthentication : std::uint8_t { waNever, waAlways, waAuto };
enum TFileTransferHTTPCommand : std::uint8_t { hcPost, hcPut };

// One entry of an FTP listing.
struct TFileDetailItem {
    std::uint32_t Attributes = 0;
    QString Name;
    std::uint32_t SizeLow = 0;
    std::uint32_t SizeHigh = 0;
    std::int64_t LastWriteTime = 0; // 100-ns units since 1 January 1601
};
using TFileDetailItems = std::vector<TFileDetailItem>;

class TFileTransferItem {
    // Published: what the owner sets.
    LANTERNA_PROPERTY(QString, URL, {})
    LANTERNA_PROPERTY(QString, TargetDir, {})
    LANTERNA_PROPERTY(QString, TargetFilename, {})
    LANTERNA_PROPERTY(TFileTransferProtocol, Protocol, wpHttp)
    LANTERNA_PROPERTY(TFileTransferHTTPCommand, HTTPCommand, hcPost)
    LANTERNA_PROPERTY(QString, FTPHost, {})
    LANTERNA_PROPERTY(QString, FTPUserID, {})
    LANTERNA_PROPERTY(QString, FTPPassword, {})
    LANTERNA_PROPERTY(int, FTPPort, 21)
    LANTERNA_PROPERTY(bool, Active, true)
    LANTERNA_PROPERTY(bool, CopyNewerOnly, false)
    LANTERNA_PROPERTY(double, FileDate, 0)
    LANTERNA_PROPERTY(TFileTransferAuthentication, Authenticate, waNever)
    LANTERNA_PROPERTY(QString, HTTPUserID, {})
    LANTERNA_PROPERTY(QString, DisplayURL, {})
    LANTERNA_PROPERTY(QString, HTTPPassword, {})
    // Public, set by the owner: the size to assume when a server sends no length.
    LANTERNA_PROPERTY(std::uint32_t, ExpectedSize, 0)
    // Public, set by the owner: when SHA256 (32 bytes) is set, an HTTP download is kept only when it
    // has exactly ExactSize bytes with that hash; an answer that runs past ExactSize fails at once.
    LANTERNA_PROPERTY(std::uint64_t, ExactSize, 0)
    LANTERNA_PROPERTY(QByteArray, SHA256, {})
    // Results of the last run.
    LANTERNA_PROPERTY(bool, Success, false)
    LANTERNA_PROPERTY(bool, NoNewFile, false)
    LANTERNA_PROPERTY(double, RemoteFileDate, 0)
    LANTERNA_PROPERTY(bool, Cancelled, false)
    LANTERNA_PROPERTY(QStringList, FileList, {})
    LANTERNA_PROPERTY(TFileDetailItems, FileDetails, {})

public:
    // Copies every published field of `source`; results stay. A null source is ignored.
    void Assign(const TFileTransferItem* source);
};

// What decides whether two FTP items can share a connection: host, port, user and password.
QString FtpKey(const TFileTransferItem& item);

// The transfers of one component, in run order.
class TFileTransferItems {
public:
    explicit TFileTransferItems(TFileTransfer* owner) : FOwner(owner) {}

    TFileTransfer* Owner() const { return FOwner; }
    // Appends an item with the defaults and returns it; the collection owns it.
    TFileTransferItem* Add();
    int Count() const { return int(FItems.size()); }
    TFileTransferItem* Items(int index) const { return FItems.at(index).get(); }
    TFileTransferItem* operator[](int index) const { return Items(index); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    void Delete(int index);
    void Clear() { FItems.clear(); }

private:
    TFileTransfer* FOwner;
    std::vector<std::unique_ptr<TFileTransferItem>> FItems;
};

} // namespace lanterna
