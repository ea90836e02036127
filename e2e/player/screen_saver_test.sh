#!/usr/bin/env bash
# The screen saver stays off while the presentation shows and works again once it is closed:
# the real player on Xvfb with a two-second saver timeout.
set -euo pipefail
player_binary=${1:?player binary}
here=$(dirname "$0")
work=$(mktemp -d)
. "$here/../sign_session.sh"
trap 'stop_session; rm -rf "$work"' EXIT
state() { python3 "$here/screen_saver_state.py" state; }

mkdir "$work/program"
cp "$player_binary" "$work/program/Lanterna"
write_sign_settings "$work/program"
start_display
python3 "$here/screen_saver_state.py" timeout 2
sleep 3
[ "$(state)" = on ] || fail "the saver does not start on this display, nothing can be checked"

start_sign "$work/program/Lanterna"
sleep 4
[ "$(state)" = off ] || fail "the saver started while the presentation showed"

# The close button sits 50 pixels left of the full-screen window's right edge, 25 below its top.
xdotool mousemove 1241 36 click 1
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Slide Show Prezentace$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Slide Show Prezentace$' >/dev/null 2>&1 && fail "the presentation did not close"
sleep 4
[ "$(state)" = on ] || fail "the saver stayed off after the presentation closed"
kill -0 "$player" 2>/dev/null || fail "the player ended"
echo "the saver is held off exactly while the presentation shows"
