#include "platform/profile.h"

#include "platform/file_read.h"
#include "platform/numbers.h"
#include "platform/types.h"

#include <QFileInfo>
#include <QSaveFile>

namespace lanterna {

namespace {

// The file's text; an empty text for a file that does not exist, nothing for one that exists but
// cannot be read whole.
std::optional<TIniText> Load(const QString& fileName, qint64 maxBytes) {
    if (!QFileInfo::exists(fileName) && !QFileInfo(fileName).isSymLink())
        return TIniText();
    const std::optional<QByteArray> bytes = ReadRegularFile(fileName, maxBytes);
    if (!bytes)
        return std::nullopt;
    return TIniText(*bytes);
}

bool HoldsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

TIniFile::TIniFile(QString fileName, qint64 maxFileBytes)
    : FFileName(std::move(fileName)), FMaxFileBytes(maxFileBytes) {}

const TIniText& TIniFile::Text() const {
    if (!FText)
        FText = Load(FFileName, FMaxFileBytes).value_or(TIniText());
    return *FText;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const {
    return ReadString(section, key, fallback, kMaxValueLength);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int fallback) const {
    return StrToIntDef(Text().Lookup(section, key, kMaxValueLength), fallback);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback,
                             qsizetype maxLength) const {
    const QString value = Text().Lookup(section, key, maxLength);
    return value.isNull() ? fallback : value;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const {
    return Text().SectionExists(section);
}

TIniText TIniFile::Written(const QString& section, const std::vector<TEntry>& entries) const {
    const QString failure = QStringLiteral("Unable to write to %1").arg(FFileName);
    for (const TEntry& entry : entries) {
        if (HoldsLineBreak(section) || HoldsLineBreak(entry.Key) || HoldsLineBreak(entry.Value))
            throw EInOutError(failure +
                              QStringLiteral(": the value of %1 holds a line break").arg(entry.Key));
    }
    std::optional<TIniText> text = Load(FFileName, FMaxFileBytes);
    if (!text)
        throw EInOutError(failure);
    for (const TEntry& entry : entries)
        text->Write(section, entry.Key, entry.Value);
    if (text->Size() > FMaxFileBytes)
        throw EInOutError(failure + QStringLiteral(": the file would grow past %1 bytes").arg(FMaxFileBytes));
    return std::move(*text);
}

void TIniFile::CheckWrite(const QString& section, const std::vector<TEntry>& entries) const {
    (void)Written(section, entries);
}

void TIniFile::WriteStrings(const QString& section, const std::vector<TEntry>& entries) {
    TIniText text = Written(section, entries);
    const QByteArray bytes = text.Bytes();
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EInOutError(QStringLiteral("Unable to write to %1").arg(FFileName));
    FText = std::move(text);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteStrings(section, {{key, value}});
}

} // namespace lanterna
