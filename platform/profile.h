#pragma once
// INI ("profile") files with the classic Windows semantics: names compared without regard to case,
// the first matching key wins, values trimmed and unquoted, each write rewriting the file at once
// (atomically) while every other line keeps its bytes. The file is read once per object: reads
// after the first use the text already read, or the text the object last wrote.

#include "platform/ini_text.h"

#include <QString>

#include <optional>
#include <vector>

namespace lanterna {

class TIniFile {
public:
    // Values longer than this are cut when read.
    static constexpr int kMaxValueLength = 2047;
    // The size limit of a settings file: a larger file is not read (its values count as missing)
    // and never replaced, and no write makes a file larger.
    static constexpr qint64 kMaxFileBytes = qint64(1) << 20;

    struct TEntry {
        QString Key;
        QString Value;
    };

    // `maxFileBytes` sets another size limit, for files that hold more than settings.
    explicit TIniFile(QString fileName, qint64 maxFileBytes = kMaxFileBytes);

    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    // The same for values that may be longer: they are cut at `maxLength` characters instead.
    QString ReadString(const QString& section, const QString& key, const QString& fallback,
                       qsizetype maxLength) const;
    // A signed decimal or "0x" hexadecimal number; anything else gives `fallback`.
    int ReadInteger(const QString& section, const QString& key, int fallback) const;
    // True when the value is a number other than 0.
    bool ReadBool(const QString& section, const QString& key, bool fallback) const;
    bool SectionExists(const QString& section) const;

    // Writes the keys of one section in one rewrite of the file: all of them or none. Raises
    // EInOutError "Unable to write to <file name>" when the file cannot be written, or exists but
    // cannot be read, and with the reason added when a name or a value holds a line break (which
    // would make two lines of one) or the file would grow past its size limit (and could not be read
    // again); the file is then left as it is.
    void WriteStrings(const QString& section, const std::vector<TEntry>& entries);
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Raises the error that WriteStrings would raise for these entries, without writing.
    void CheckWrite(const QString& section, const std::vector<TEntry>& entries) const;

private:
    const TIniText& Text() const;
    // The file's text with the entries written.
    TIniText Written(const QString& section, const std::vector<TEntry>& entries) const;

    QString FFileName;
    qint64 FMaxFileBytes;
    mutable std::optional<TIniText> FText;
};

} // namespace lanterna
