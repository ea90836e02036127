#pragma once
// The mark a player leaves in its program folder once its presentation has stood open for a
// while: the updater's proof that a newly applied release runs.

#include <QString>

namespace lanterna {

// Puts UpDate.healthy into `folder`, whole or not at all: this process's id and the programs'
// version, one a line. False when it cannot be written.
bool WriteHealthMark(const QString& folder);

} // namespace lanterna
