#include "platform/ini_text.h"

namespace lanterna {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

QByteArrayView WithoutCr(QByteArrayView bytes) {
    return bytes.endsWith('\r') ? bytes.chopped(1) : bytes;
}

QString Unquote(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
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
        FLines.push_back(Parse(text.sliced(start, end - start).toByteArray()));
        start = end + 1;
    }
    Index();
}

// Only the part before the first "=" is decoded, unless the line is a section header: a long value
// is read when it is looked up, not when the file is read.
TIniText::Line TIniText::Parse(QByteArray bytes) {
    Line line;
    const QByteArrayView text = WithoutCr(bytes);
    const qsizetype equals = text.indexOf('=');
    const QString head = QString::fromUtf8(equals < 0 ? text : text.first(equals)).trimmed();
    if (head.startsWith(QLatin1Char('['))) {
        const QString header = QString::fromUtf8(text).trimmed();
        const qsizetype close = header.indexOf(QLatin1Char(']'));
        line.Header = true;
        line.Section = (close < 0 ? header.mid(1) : header.mid(1, close - 1)).trimmed().toCaseFolded();
    } else if (equals > 0 && !head.isEmpty() && !head.startsWith(QLatin1Char(';'))) {
        line.Key = head.toCaseFolded();
        line.Equals = equals;
    } else {
        line.Blank = equals < 0 && head.isEmpty();
    }
    line.Bytes = std::move(bytes);
    return line;
}

QString TIniText::Value(const Line& line) {
    return Unquote(QString::fromUtf8(WithoutCr(QByteArrayView(line.Bytes).sliced(line.Equals + 1))));
}

void TIniText::Index() {
    FSections.clear();
    FKeys.clear();
    const QString* section = nullptr; // keys before the first header belong to no section
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const Line& line = FLines[i];
        if (line.Header) {
            section = &line.Section;
            if (!FSections.contains(*section))
                FSections.insert(*section, i);
        } else if (section && !line.Key.isEmpty()) {
            const std::pair names(*section, line.Key);
            if (!FKeys.contains(names))
                FKeys.insert(names, i);
        }
    }
}

QString TIniText::Lookup(const QString& section, const QString& key, qsizetype maxLength) const {
    const auto found = FKeys.constFind({section.toCaseFolded(), key.toCaseFolded()});
    return found == FKeys.cend() ? QString() : Value(FLines[*found]).left(maxLength);
}

bool TIniText::SectionExists(const QString& section) const {
    return FSections.contains(section.toCaseFolded());
}

// Only the section's first header counts here: a key that is missing there is added there.
void TIniText::Write(const QString& section, const QString& key, const QString& value) {
    const QByteArray cr = FCrlf ? QByteArray("\r") : QByteArray();
    const QByteArray entry = (key + QLatin1Char('=') + value).toUtf8();
    const auto header = FSections.constFind(section.toCaseFolded());
    if (header == FSections.cend()) {
        FLines.push_back(Parse((QLatin1Char('[') + section + QLatin1Char(']')).toUtf8() + cr));
        FLines.push_back(Parse(entry + cr));
        Index();
        return;
    }
    const QString name = key.toCaseFolded();
    std::size_t last = *header; // the section's header or its last non-blank line
    for (std::size_t i = last + 1; i < FLines.size() && !FLines[i].Header; ++i) {
        Line& line = FLines[i];
        if (!line.Key.isEmpty() && line.Key == name) {
            // The line keeps its own ending, and all its bytes when it already says the same.
            if (Value(line) != value)
                line = Parse(entry + (line.Bytes.endsWith('\r') ? QByteArray("\r") : QByteArray()));
            return;
        }
        if (!line.Blank)
            last = i;
    }
    FLines.insert(FLines.begin() + std::ptrdiff_t(last + 1), Parse(entry + cr));
    Index();
}

qsizetype TIniText::Size() const {
    qsizetype size = FBom ? 3 : 0;
    for (const Line& line : FLines)
        size += line.Bytes.size() + 1;
    return size;
}

QByteArray TIniText::Bytes() const {
    QByteArray bytes;
    bytes.reserve(Size());
    if (FBom)
        bytes += kBom;
    for (const Line& line : FLines) {
        bytes += line.Bytes;
        bytes += '\n';
    }
    return bytes;
}

} // namespace lanterna
