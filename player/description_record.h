#pragma once
// What the update server said about the UpDate.dat of a program folder (its ETag and
// Last-Modified), kept beside it in UpDate.validators, so that a later check costs one small
// request when nothing changed.

#include "player/typy.h"

#include <QString>

namespace player {

// The validators that came with the folder's UpDate.dat; none when they came with another file
// than the one there now, or none were kept.
THttpValidators KnownValidators(const QString& folder);

// Keeps `validators` as those of the folder's UpDate.dat as it is now. A record that cannot be
// written only costs a whole request at the next check.
void RememberValidators(const QString& folder, const THttpValidators& validators);

} // namespace player
