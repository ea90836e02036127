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
std::optional<TIniText> Load(const QString& fileName) {
    if (!QFileInfo::exists(fileName) && !QFileInfo(fileName).isSymLink())
        return TIniText();
    const std::optional<QByteArray> bytes = ReadRegularFile(fileName, TIniFile::kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return TIniText(*bytes);
}

bool HoldsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

const TIniText& TIniFile::Text() const {
    if (!FText)
        FText = Load(FFileName).value_or(TIniText());
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

void TIniFile::CheckValue(const QString& section, const QString& key, const QString& value) const {
    if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value))
        throw EInOutError(
            QStringLiteral("Unable to write to %1: the value of %2 holds a line break").arg(FFileName, key));
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    CheckValue(section, key, value);
    const QString failure = QStringLiteral("Unable to write to %1").arg(FFileName);
    std::optional<TIniText> text = Load(FFileName);
    if (!text)
        throw EInOutError(failure);
    text->Write(section, key, value);
    const QByteArray bytes = text->Bytes();
    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EInOutError(failure);
    FText = std::move(text);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace lanterna
