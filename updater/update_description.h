#pragma once
// The update description (UpDate.dat, section UPDATE) as the updater reads it: the product's name,
// the list of file addresses and, in a signed description, each file's size and SHA-256. With a
// public key in the program folder, a description is used only when its signature verifies.

#include "release/release_files.h"
#include "release/trusted_description.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace updater {

struct TUpdateDescription {
    // What a missing name reads as; a name of this text counts as missing too.
    static constexpr const char* kNoProduct = "ERROR!!";
    // A description is a few lines per file; a larger file is no description.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // Empty when the file was read; otherwise the message that says why it was not.
    QString Error;
    // True when the folder trusts only signed descriptions.
    bool Signed = false;
    // Why a signed description may not be used; nothing else is read from it then.
    QString Untrusted;
    QString Version;
    QString ProductName = QString::fromLatin1(kNoProduct);
    // Entry i - 1 is the value of "File" + i, empty when that key is missing.
    QStringList Files;
    // The size and hash of each address listed with both.
    QHash<QString, lanterna::TFileCheck> Checks;

    bool HasProduct() const { return ProductName != QLatin1String(kNoProduct); }
};

// The trust of an updater writing into `folder`: the key of that folder, or else of the folder the
// updater itself lies in.
lanterna::TTrust UpdaterTrust(const QString& folder);

// Reads the file's name and its entries "File1" .. "File<N>", N being `Files` (0 when missing, no
// valid number or below 0) but at most `maxFiles`. A missing or oversized file gives the defaults
// and its message. Under a signed `trust`, the file must verify against its signature (the file's
// name + ".minisig") and name a version newer than the folder's installed one.
TUpdateDescription ReadUpdateDescription(const QString& fileName, int maxFiles,
                                         const lanterna::TTrust& trust = {});

} // namespace updater
