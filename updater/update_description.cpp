#include "updater/update_description.h"

#include "platform/profile.h"

#include <QFileInfo>

#include <algorithm>

namespace updater {

TUpdateDescription ReadUpdateDescription(const QString& fileName, int maxFiles) {
    TUpdateDescription description;
    const QFileInfo file(fileName);
    if (!file.exists()) {
        description.Error = QStringLiteral("File ") + fileName + QStringLiteral(" NOT found!");
        return description;
    }
    if (file.size() > TUpdateDescription::kMaxFileSize) {
        description.Error = QStringLiteral("File ") + fileName + QStringLiteral(" is larger than 1 MB!");
        return description;
    }
    const QString section = QStringLiteral("UPDATE");
    const lanterna::TIniFile ini(fileName);
    description.ProductName = ini.ReadString(section, QStringLiteral("ProductName"),
                                             QString::fromLatin1(TUpdateDescription::kNoProduct));
    const int count = std::clamp(ini.ReadInteger(section, QStringLiteral("Files"), 0), 0, maxFiles);
    description.Files.reserve(count);
    for (int i = 1; i <= count; ++i)
        description.Files << ini.ReadString(section, QStringLiteral("File%1").arg(i), QString());
    return description;
}

} // namespace updater
