#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks the layout a sign needs, and starts the installed
# player through its launcher on a real X display: the presentation window must open by itself.
set -euo pipefail
build=${1:?build folder}
work=$(mktemp -d)
xvfb=""
player=""
cleanup() {
    [ -n "$player" ] && kill "$player" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/lib/lanterna"
[ -x "$program/Lanterna" ] || fail "no player in $program"
[ ! -e "$build/bin/UpDate" ] || [ -x "$program/UpDate" ] || fail "no updater in $program"
[ "$(readlink -f "$prefix/bin/lanterna")" = "$(readlink -f "$program/Lanterna")" ] || fail "launcher does not lead to the player"
[ -s "$prefix/share/icons/hicolor/256x256/apps/lanterna.png" ] || fail "no icon"
desktop="$prefix/share/applications/lanterna.desktop"
autostart="$prefix/share/lanterna/lanterna-autostart.desktop"
grep -qx "Exec=\"$program/Lanterna\"" "$desktop" || fail "menu entry does not start the installed player"
grep -qx "Exec=\"$program/Lanterna\" /AUTOSTART" "$autostart" || fail "autostart entry does not open the presentation"
grep -qx "Icon=lanterna" "$desktop" || fail "menu entry has no icon"

# A sign's program folder: settings beside the player, a folder of pictures.
mkdir -p "$work/Slides"
convert -size 640x480 gradient:navy-orange "$work/Slides/one.jpg"
convert -size 480x640 gradient:green-white "$work/Slides/two.png"
cat > "$program/SlideShow.cfg" <<CFG
[Global]
SlideDirectory=$work/Slides
FullScreen=1
LogoVisible=0
ClockVisible=1
RotateInterval=1
ZjistitNovouVerziPriStartu=0
CFG

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export LANTERNA_UNATTENDED_LOG="$work/boxes.log"
unset QT_QPA_PLATFORM

cd "$work"   # the player must find its settings beside itself, not in the current folder
"$prefix/bin/lanterna" /AUTOSTART &
player=$!
opened=0
for _ in $(seq 200); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Slide Show Prezentace"'; then opened=1; break; fi
    kill -0 "$player" 2>/dev/null || fail "the installed player ended"
    sleep 0.1
done
[ "$opened" = 1 ] || fail "the presentation did not open within 20 s"
kill -0 "$player" 2>/dev/null || fail "the installed player ended"
[ ! -s "$LANTERNA_UNATTENDED_LOG" ] || fail "message boxes: $(cat "$LANTERNA_UNATTENDED_LOG")"
echo "installed player opened its presentation"
