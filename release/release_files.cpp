#include "release/release_files.h"

#include "platform/ini_text.h"

#include <algorithm>
#include <array>

namespace lanterna {

QString PlayerFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("Lanterna.exe");
#else
    return QStringLiteral("Lanterna");
#endif
}

QString UpdaterFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("UpDate.exe");
#else
    return QStringLiteral("UpDate");
#endif
}

bool IsSignOwnFile(const QString& name) {
    static const std::array kOwn = {kPublicKeyFile,     kDescriptionFile,   kSignatureFile,
                                    kReleaseStateFile,  kSettingsFile,      kValidatorsFile,
                                    kHealthMarkFile,    ".release-staging", ".release-previous",
                                    ".release-journal", ".release-lock"};
    return std::any_of(kOwn.begin(), kOwn.end(), [&](const char* own) {
        return name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0;
    });
}

QString FileKey(int i) {
    return QStringLiteral("File%1").arg(i);
}

QString FileSizeKey(int i) {
    return FileKey(i) + QStringLiteral("Size");
}

QString FileHashKey(int i) {
    return FileKey(i) + QStringLiteral("SHA256");
}

std::optional<TFileCheck> ListedFileCheck(const TIniText& text, int i) {
    constexpr int kMaxValueLength = 2047;
    const QString section = QStringLiteral("UPDATE");
    const QString size = text.Lookup(section, FileSizeKey(i), kMaxValueLength);
    const QString hex = text.Lookup(section, FileHashKey(i), kMaxValueLength);
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    const auto isHexDigit = [&](QChar c) {
        return isDigit(c) || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
    };
    const bool digits = !size.isEmpty() && std::all_of(size.begin(), size.end(), isDigit);
    bool number = false;
    const qulonglong bytes = size.toULongLong(&number);
    if (!digits || !number || hex.size() != 64 || !std::all_of(hex.begin(), hex.end(), isHexDigit))
        return std::nullopt;
    return TFileCheck{bytes, QByteArray::fromHex(hex.toLatin1())};
}

} // namespace lanterna
