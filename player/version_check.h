#pragma once
// Asking the update server for a new version, and handing over to the updater.

#include <QString>

namespace player {

class TForm1;

// The update server: plain HTTP on its default port. LANTERNA_UPDATE_SERVER (scheme, host and
// optional port) replaces it, for a local mirror or a test server.
QString UpdateServer();

// The updater's executable file name on this platform.
QString UpdaterFileName();

// Fetches UpDate.dat and compares its version with the program's own; asks whether to update
// when they differ, and says "Verze je aktuální." when they are equal once the program runs.
void CheckForNewVersion(TForm1& form1);

// Fetches UpDate.dat anew, then starts the updater and closes the start window; when the updater
// is missing, offers to download it.
void HandOverToUpdater(TForm1& form1);

} // namespace player
