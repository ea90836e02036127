#pragma once
// Well-known folders of the running system, each read afresh and given with one trailing "/".

#include <QObject>
#include <QString>

namespace updater {

class TDirectories final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDirectories)

public:
    // The length the classic folder reads served; longer paths are returned whole all the same.
    static constexpr int kClassicPathLength = 249;

    explicit TDirectories(QObject* owner = nullptr) : QObject(owner) {}

    // The process's current directory; the root gives "/".
    QString CurrentDirectory() const;
    // There is no system folder of that kind here: empty.
    QString WindowsDirectory() const;
    QString SystemDirectory() const;
    QString TempPath() const;
    // Programs are installed by the package manager, not into a folder of the user's: empty.
    QString ProgramFiles() const;

    // The user's folders, as the desktop's user directories name them; empty where there is no
    // such folder here.
    QString ApplicationData() const;
    QString Cache() const;
    QString Cookies() const;
    QString Desktop() const;
    QString Favorites() const;
    QString Fonts() const;
    QString History() const;
    QString NetHood() const;
    QString Personal() const;
    QString Programs() const;
    QString Recent() const;
    QString SendTo() const;
    QString StartMenu() const;
    QString Startup() const;
    QString Templates() const;
};

// `path` with one "/" appended unless it is empty or already ends in one.
QString WithTrailingSeparator(const QString& path);

} // namespace updater
