#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the layout a sign needs, and starts the installed
# player through its launcher on a real X display: the presentation window must open by itself.
set -euo pipefail
build=${1:?build folder}
work=$(mktemp -d)
. "$(dirname "$0")/../sign_session.sh"
trap 'stop_session; rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/lib/lanterna"
[ -x "$program/Lanterna" ] || fail "no player in $program"
[ ! -e "$build/bin/UpDate" ] || [ -x "$program/UpDate" ] || fail "no updater in $program"
[ "$(readlink -f "$prefix/bin/lanterna")" = "$(readlink -f "$program/Lanterna")" ] || fail "launcher does not lead to the player"
[ -x "$prefix/bin/lanterna-release" ] || fail "no publishing tool"
[ -s "$prefix/share/icons/hicolor/256x256/apps/lanterna.png" ] || fail "no icon"
desktop="$prefix/share/applications/lanterna.desktop"
autostart="$prefix/share/lanterna/lanterna-autostart.desktop"
grep -qx "Exec=\"$program/Lanterna\"" "$desktop" || fail "menu entry does not start the installed player"
grep -qx "Exec=\"$program/Lanterna\" /AUTOSTART" "$autostart" || fail "autostart entry does not open the presentation"
grep -qx "Icon=lanterna" "$desktop" || fail "menu entry has no icon"
unit="$prefix/share/systemd/user/lanterna.service"
grep -qx "ExecStart=\"$program/Lanterna\" /AUTOSTART" "$unit" || fail "the service does not open the presentation"
grep -qx "Restart=on-failure" "$unit" || fail "the service is not started again after a failure"
grep -qx "WantedBy=graphical-session.target" "$unit" || fail "the service does not start with the desktop session"
if command -v systemd-analyze >/dev/null; then
    # A user manager of its own that only reads the unit; it needs a runtime folder.
    mkdir -m 700 "$work/runtime"
    XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user verify --man=no "$unit" ||
        fail "systemd does not accept the service"
else
    echo "systemd-analyze is not installed: the service is not verified"
fi

write_sign_settings "$program"
start_display
cd "$work"   # the player must find its settings beside itself, not in the current folder
start_sign "$prefix/bin/lanterna"
kill -0 "$player" 2>/dev/null || fail "the installed player ended"
[ ! -s "$LANTERNA_UNATTENDED_LOG" ] || fail "message boxes: $(cat "$LANTERNA_UNATTENDED_LOG")"
echo "installed player opened its presentation"
