#include "platform/profile.h"

#include "platform/numbers.h"
#include "platform/types.h"

#include <QFile>
#include <QSaveFile>

namespace lanterna {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// A section header's name, or a null string when the line is no header.
QString SectionName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// Splits "key = value" into its trimmed key and raw value; false when the line holds no key.
bool SplitKey(const QString& line, QString& key, QString& value) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1);
    return !key.isEmpty();
}

QString Unquote(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct FileText {
    QStringList Lines;
    bool Bom = false;
    bool Crlf = false;
};

FileText Load(const QString& fileName) {
    FileText text;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return text;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kBom)) {
        text.Bom = true;
        bytes.remove(0, 3);
    }
    text.Crlf = bytes.contains("\r\n");
    QString all = QString::fromUtf8(bytes);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.Lines = all.split(QLatin1Char('\n'));
    if (!text.Lines.isEmpty() && text.Lines.back().isEmpty())
        text.Lines.removeLast(); // the final line break
    return text;
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

const QStringList& TIniFile::ReadLines() const {
    if (!FLines)
        FLines = Load(FFileName).Lines;
    return *FLines;
}

QString TIniFile::Lookup(const QString& section, const QString& key, qsizetype maxLength) const {
    bool inSection = false;
    QString k, v;
    for (const QString& line : ReadLines()) {
        const QString name = SectionName(line);
        if (!name.isNull())
            inSection = SameName(name, section);
        else if (inSection && SplitKey(line, k, v) && SameName(k, key))
            return Unquote(v).left(maxLength);
    }
    return {};
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const {
    return ReadString(section, key, fallback, kMaxValueLength);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int fallback) const {
    return StrToIntDef(Lookup(section, key), fallback);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback,
                             qsizetype maxLength) const {
    const QString value = Lookup(section, key, maxLength);
    return value.isNull() ? fallback : value;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const {
    for (const QString& line : ReadLines())
        if (SameName(SectionName(line), section))
            return true;
    return false;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    FileText text = Load(FFileName);
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionAt = -1;     // header line of the section
    qsizetype lastInSection = -1; // last non-blank line of the section
    bool written = false;
    QString k, v;
    for (qsizetype i = 0; i < text.Lines.size() && !written; ++i) {
        const QString name = SectionName(text.Lines[i]);
        if (!name.isNull()) {
            if (sectionAt >= 0)
                break; // the section ended without the key
            if (SameName(name, section))
                sectionAt = lastInSection = i;
        } else if (sectionAt >= 0) {
            if (SplitKey(text.Lines[i], k, v) && SameName(k, key)) {
                text.Lines[i] = entry;
                written = true;
            } else if (!text.Lines[i].trimmed().isEmpty()) {
                lastInSection = i;
            }
        }
    }
    if (!written) {
        if (sectionAt >= 0)
            text.Lines.insert(lastInSection + 1, entry);
        else
            text.Lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }

    const QString eol = text.Crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray bytes = text.Bom ? QByteArray(kBom) : QByteArray();
    bytes += (text.Lines.join(eol) + eol).toUtf8();
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EInOutError(QStringLiteral("Unable to write to %1").arg(FFileName));
    FLines = std::move(text.Lines);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace lanterna
