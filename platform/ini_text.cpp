#include "platform/ini_text.h"

namespace lanterna {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// A line as text, without the CR of a CR LF ending.
QString LineText(const QByteArray& line) {
    return QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
}

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

} // namespace

TIniText::TIniText(const QByteArray& bytes) {
    QByteArrayView text(bytes);
    if (text.startsWith(kBom)) {
        FBom = true;
        text = text.sliced(3);
    }
    FCrlf = text.contains("\r\n");
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        FLines.emplace_back(text.sliced(start, end - start).toByteArray());
        start = end + 1;
    }
}

QString TIniText::Lookup(const QString& section, const QString& key, int maxLength) const {
    bool inSection = false;
    QString k, v;
    for (const QByteArray& bytes : FLines) {
        const QString line = LineText(bytes);
        const QString name = SectionName(line);
        if (!name.isNull())
            inSection = SameName(name, section);
        else if (inSection && SplitKey(line, k, v) && SameName(k, key))
            return Unquote(v).left(maxLength);
    }
    return {};
}

bool TIniText::SectionExists(const QString& section) const {
    for (const QByteArray& line : FLines) {
        if (SameName(SectionName(LineText(line)), section))
            return true;
    }
    return false;
}

void TIniText::Write(const QString& section, const QString& key, const QString& value) {
    const QByteArray cr = FCrlf ? QByteArray("\r") : QByteArray();
    const QByteArray entry = (key + QLatin1Char('=') + value).toUtf8();
    std::size_t lastInSection = 0; // the section's header or its last non-blank line
    bool inSection = false;
    QString k, v;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const QString line = LineText(FLines[i]);
        const QString name = SectionName(line);
        if (!name.isNull()) {
            if (inSection)
                break; // the section ended without the key
            if (SameName(name, section)) {
                inSection = true;
                lastInSection = i;
            }
        } else if (inSection) {
            if (SplitKey(line, k, v) && SameName(k, key)) {
                // The line keeps its own ending.
                FLines[i] = entry + (FLines[i].endsWith('\r') ? QByteArray("\r") : QByteArray());
                return;
            }
            if (!line.trimmed().isEmpty())
                lastInSection = i;
        }
    }
    if (inSection) {
        FLines.insert(FLines.begin() + std::ptrdiff_t(lastInSection + 1), entry + cr);
        return;
    }
    FLines.push_back((QLatin1Char('[') + section + QLatin1Char(']')).toUtf8() + cr);
    FLines.push_back(entry + cr);
}

QByteArray TIniText::Bytes() const {
    QByteArray bytes = FBom ? QByteArray(kBom) : QByteArray();
    for (const QByteArray& line : FLines)
        bytes += line + '\n';
    return bytes;
}

} // namespace lanterna
