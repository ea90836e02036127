#pragma once
// INI ("profile") files with the classic Windows semantics: names compared without regard to case,
// the first matching key wins, values trimmed and unquoted, each write rewriting the file at once
// (atomically) while every other line stays as it was. The file is read once per object: reads
// after the first use the lines already read, or those the object last wrote.

#include <QString>
#include <QStringList>

#include <optional>

namespace lanterna {

class TIniFile {
public:
    // Values longer than this are cut when read.
    static constexpr int kMaxValueLength = 2047;

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

    // Raise EInOutError "Unable to write to <file name>" when the file cannot be written.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

private:
    const QStringList& ReadLines() const;
    // The raw value of the first matching key, or a null string when absent.
    QString Lookup(const QString& section, const QString& key, qsizetype maxLength = kMaxValueLength) const;

    QString FFileName;
    mutable std::optional<QStringList> FLines;
};

} // namespace lanterna
