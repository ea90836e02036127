#pragma once
// INI ("profile") files with the classic Windows semantics: names compared without regard to case,
// the first matching key wins, values trimmed and unquoted, each write rewriting the file at once
// (atomically) while every other line keeps its bytes. The file is read once per object: reads
// after the first use the text already read, or the text the object last wrote.

#include "platform/ini_text.h"

#include <QString>

#include <optional>

namespace lanterna {

class TIniFile {
public:
    // Values longer than this are cut when read.
    static constexpr int kMaxValueLength = 2047;
    // A larger file is not read (its values count as missing) and never replaced.
    static constexpr qint64 kMaxFileBytes = qint64(1) << 20;

    explicit TIniFile(QString fileName);

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

    // Raise EInOutError "Unable to write to <file name>" when the file cannot be written, or when it
    // exists but cannot be read (it is then left as it is).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Raises EInOutError when a name or the value holds a line break, which would make two lines of
    // one; the writes check this before they touch the file.
    void CheckValue(const QString& section, const QString& key, const QString& value) const;

private:
    const TIniText& Text() const;

    QString FFileName;
    mutable std::optional<TIniText> FText;
};

} // namespace lanterna
