#pragma once
// Asking the update server for a new version, and handing over to the updater.

#include <QString>

namespace player {

class TForm1;

// The update server (scheme, host and optional port): LANTERNA_UPDATE_SERVER when set, else the
// configuration's "UpdateServer" key, else the maker's server over plain HTTP.
QString UpdateServer(const TForm1& form1);

// Fetches UpDate.dat and compares its version with the program's own; asks whether to update
// when they differ, and says "Verze je aktuální." when they are equal once the program runs.
// Unattended, no question is asked: the updater is started to apply the release by itself. At an
// "/AUTOSTART" start the question answers No by itself after the start window's
// AutostartQuestionLimit.
void CheckForNewVersion(TForm1& form1);

// The check of a running unattended sign: asks whether UpDate.dat changed since the last check (one
// small request when it did not) and starts the updater for a newer release. Silent: a failure
// shows nothing, and the next check tries again.
void CheckInBackground(TForm1& form1);

// Fetches UpDate.dat anew, then starts the updater and closes the start window; when the updater
// is missing, offers to download it.
void HandOverToUpdater(TForm1& form1);

} // namespace player
