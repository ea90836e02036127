#pragma once
// The update description (UpDate.dat, section UPDATE) as the updater reads it: the product's name
// and the list of file addresses.

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
    QString ProductName = QString::fromLatin1(kNoProduct);
    // Entry i - 1 is the value of "File" + i, empty when that key is missing.
    QStringList Files;

    bool HasProduct() const { return ProductName != QLatin1String(kNoProduct); }
};

// Reads the file's name and its entries "File1" .. "File<N>", N being `Files` (0 when missing, no
// valid number or below 0) but at most `maxFiles`. A missing or oversized file gives the defaults
// and its message.
TUpdateDescription ReadUpdateDescription(const QString& fileName, int maxFiles);

} // namespace updater
