#pragma once
// The text of an INI file kept as the bytes of its lines: values are read from it with the
// profile rules, and a write replaces or adds one line while every other line keeps its bytes,
// whatever their encoding. Each line's names are read once, when the text is made, so that a look-up
// costs the same in a file of thousands of keys as in one of ten.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>
#include <vector>

namespace lanterna {

class TIniText {
public:
    TIniText() = default;
    explicit TIniText(const QByteArray& bytes);

    // The trimmed, unquoted value of the first matching key (cut to `maxLength` characters), or a
    // null string when the key is absent.
    QString Lookup(const QString& section, const QString& key, qsizetype maxLength) const;
    bool SectionExists(const QString& section) const;
    // Replaces the key's line, or appends the key at the end of its section, or the section at the
    // end of the text. A line that already reads as `value` keeps its bytes. Names and value must not
    // hold a line break.
    void Write(const QString& section, const QString& key, const QString& value);
    QByteArray Bytes() const;
    // The number of bytes of Bytes().
    qsizetype Size() const;

private:
    struct Line {
        QByteArray Bytes;      // without the final LF; a CR before it stays part of the line
        QString Section;       // a header's name, case-folded
        QString Key;           // the key's name, case-folded; empty when the line holds no key
        qsizetype Equals = -1; // where the key's "=" is in Bytes
        bool Header = false;
        bool Blank = false;
    };
    static Line Parse(QByteArray bytes);
    static QString Value(const Line& line);
    void Index();

    std::vector<Line> FLines;
    // The first header of each section and the first line of each key, by their case-folded names.
    QHash<QString, std::size_t> FSections;
    QHash<std::pair<QString, QString>, std::size_t> FKeys;
    bool FBom = false;
    bool FCrlf = false;
};

} // namespace lanterna
