#pragma once
// Whether a listed address names a file that a download may write into its folder.

#include <QString>

namespace updater {

// False when the name the download takes from the address's last segment is empty, "." or "..",
// or, once percent-decoded, holds a separator or a NUL: such a file would land beside or outside
// the folder instead of in it.
bool IsSafeTargetName(const QString& url);

// True when the address's file is one of the sign's own (its key, settings, update description or
// release record), in any letter case and encoding: no list may replace those.
bool IsSignOwnTarget(const QString& url);

} // namespace updater
