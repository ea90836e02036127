#pragma once
// Starting programs and opening documents the way the desktop's shell does.

#include <QString>

namespace lanterna {

// Starts a program without arguments; it inherits the current directory. False when it cannot start.
bool ShellStart(const QString& program);

// Opens a URL, a file or a folder with the desktop's handler for it.
bool ShellOpen(const QString& urlOrPath);

} // namespace lanterna
