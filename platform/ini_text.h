#pragma once
// The text of an INI file kept as the bytes of its lines: values are read from it with the
// profile rules, and a write replaces or adds one line while every other line keeps its bytes,
// whatever their encoding.

#include <QByteArray>
#include <QString>

#include <vector>

namespace lanterna {

class TIniText {
public:
    TIniText() = default;
    explicit TIniText(const QByteArray& bytes);

    // The trimmed, unquoted value of the first matching key (cut to `maxLength` characters), or a
    // null string when the key is absent.
    QString Lookup(const QString& section, const QString& key, int maxLength) const;
    bool SectionExists(const QString& section) const;
    // Replaces the key's line, or appends the key at the end of its section, or the section at the
    // end of the text. Names and value must not hold a line break.
    void Write(const QString& section, const QString& key, const QString& value);
    QByteArray Bytes() const;

private:
    // Each line without its final LF; a CR before it stays part of the line's bytes.
    std::vector<QByteArray> FLines;
    bool FBom = false;
    bool FCrlf = false;
};

} // namespace lanterna
