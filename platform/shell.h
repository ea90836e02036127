#pragma once
// Starting programs and opening documents the way the desktop's shell does.

#include <QString>
#include <QStringList>

namespace lanterna {

// Starts a program with `arguments` in `workingDirectory`, or in the current directory when that is
// empty. False when it cannot start.
bool ShellStart(const QString& program, const QString& workingDirectory = {},
                const QStringList& arguments = {});

// Opens a URL, a file or a folder with the desktop's handler for it. In an unattended run (see
// dialogs.h) nothing is opened: "Open: " and the address go to the run's log instead.
bool ShellOpen(const QString& urlOrPath);

} // namespace lanterna
