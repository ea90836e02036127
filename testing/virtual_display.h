#pragma once
// A virtual X display (Xvfb) of its own for as long as the object lives, for end-to-end tests
// that run whole programs on a real X server and look at or click into their windows from outside.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

namespace lanterna::testing {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":<n>", or empty when the display did not start.
    const QString& Name() const { return FName; }
    // Runs a window manager (such as "icewm") on the display until the display ends; true once it
    // has taken the display over.
    bool StartWindowManager(const QString& program);
    // The environment of a program that runs on this display.
    QProcessEnvironment Environment() const;

    // The ids of the mapped, viewable windows whose title matches the extended regular expression.
    QStringList Windows(const QString& titlePattern) const;
    // A window of exactly that title is mapped and viewable. Several windows may share a title
    // (Qt's hidden leader window carries the application's), so every one of them is asked.
    bool Shows(const QString& title) const;
    QString Title(const QString& window) const;
    // Where the window lies on the screen with the frame the window manager has put around it, as
    // the manager reports that frame; a null rectangle when the window's place cannot be read.
    QRect Frame(const QString& window) const;
    // A left click at `at`, relative to the window's top left corner; false when it could not be sent.
    bool Click(const QString& window, QPoint at) const;
    QImage Screen() const;

private:
    // Runs an X tool on the display with a time limit; its standard output, empty when it failed.
    QByteArray Query(const QString& program, const QStringList& arguments, int* exitCode = nullptr) const;
    QProcess FServer;
    QProcess FWindowManager;
    QString FName;
};

} // namespace lanterna::testing
