#!/usr/bin/env bash
# Lays out a demo program folder under build/demo/ and runs the player from it.
# Arguments are passed to the player. Without a display: Xvfb, a small window manager,
# screenshots in build/demo/screenshots/, and the run ends after about 20 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=build/demo
scripts/make-demo-folder.sh "$demo"

if [ -n "${DISPLAY:-}" ]; then
    exec "$demo/Lanterna" "$@"
fi

shots="$demo/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $player $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
"$demo/Lanterna" "$@" &
player=$!
elapsed=0
for at in 1 3 6 9 12 15 19; do
    sleep $((at - elapsed))
    elapsed=$at
    import -window root "$shots/at-${at}s.png" 2>/dev/null || true
done
echo "Screenshots in $shots:"
ls "$shots"
