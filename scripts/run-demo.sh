#!/usr/bin/env bash
# Lays out a demo program folder under build/demo/ and runs the player from it.
# Arguments are passed to the player ("/AUTOSTART" when none are given). Without a display: Xvfb, a small window manager,
# screenshots in build/demo/screenshots/, and the run ends after about 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=build/demo
scripts/make-demo-folder.sh "$demo"
[ $# -gt 0 ] || set -- /AUTOSTART

if [ -n "${DISPLAY:-}" ]; then
    exec "$demo/Lanterna" "$@"
fi

shots="$demo/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
player=
wm=
trap 'kill $player $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
"$demo/Lanterna" "$@" &
player=$!
# The start window shows until the first timer tick opens the presentation about a second later.
shot() { import -window root "$shots/at-$1s.png" 2>/dev/null || true; }
sleep 0.7
shot 0.7
sleep 1.3
shot 2
for at in 4 6 8 10 12 14 16 18 20; do
    sleep 2
    shot "$at"
done
echo "Screenshots in $shots:"
ls "$shots"
