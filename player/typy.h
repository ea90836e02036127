#pragma once
// The player's small utilities: the one blocking HTTP download it needs.

#include <QString>

namespace player {

// Fetches `url` with one HTTP GET and stores the reply body in `fileName`, replacing it only when
// the whole body has arrived. Raises lanterna::Exception with the reason on any failure:
// "Cannot create file "<name>". <reason>" before any request when the file cannot be written,
// the reply's status line for an error status, or the transfer's own error text.
void StahnoutSoubor(const QString& url, const QString& fileName);

} // namespace player
