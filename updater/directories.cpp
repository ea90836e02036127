#include "updater/directories.h"

#include <QDir>
#include <QStandardPaths>

namespace updater {

namespace {

QString UserFolder(QStandardPaths::StandardLocation location) {
    return WithTrailingSeparator(QStandardPaths::writableLocation(location));
}

} // namespace

QString WithTrailingSeparator(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString TDirectories::CurrentDirectory() const {
    return WithTrailingSeparator(QDir::currentPath());
}

QString TDirectories::WindowsDirectory() const {
    return {};
}

QString TDirectories::SystemDirectory() const {
    return {};
}

QString TDirectories::TempPath() const {
    return WithTrailingSeparator(QDir::tempPath());
}

QString TDirectories::ProgramFiles() const {
    return {};
}

QString TDirectories::ApplicationData() const {
    return UserFolder(QStandardPaths::GenericDataLocation);
}

QString TDirectories::Cache() const {
    return UserFolder(QStandardPaths::GenericCacheLocation);
}

QString TDirectories::Cookies() const {
    return {};
}

QString TDirectories::Desktop() const {
    return UserFolder(QStandardPaths::DesktopLocation);
}

QString TDirectories::Favorites() const {
    return {};
}

QString TDirectories::Fonts() const {
    return UserFolder(QStandardPaths::FontsLocation);
}

QString TDirectories::History() const {
    return {};
}

QString TDirectories::NetHood() const {
    return {};
}

QString TDirectories::Personal() const {
    return UserFolder(QStandardPaths::DocumentsLocation);
}

QString TDirectories::Programs() const {
    return UserFolder(QStandardPaths::ApplicationsLocation);
}

QString TDirectories::Recent() const {
    return {};
}

QString TDirectories::SendTo() const {
    return {};
}

// The desktop's menu is built from the installed applications' entries.
QString TDirectories::StartMenu() const {
    return UserFolder(QStandardPaths::ApplicationsLocation);
}

// Programs started with the desktop session are listed in the autostart folder.
QString TDirectories::Startup() const {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/autostart/");
}

QString TDirectories::Templates() const {
    return {};
}

} // namespace updater
