# Sourced by the end-to-end scripts that run the player on a real X display.
# Needs $work (a scratch folder the caller removes); sets $xvfb and $player for the caller's cleanup.
xvfb=""
player=""

fail() { echo "FAIL: $*" >&2; exit 1; }

stop_session() {
    [ -n "$player" ] && kill "$player" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}

# Starts Xvfb on a free display and exports DISPLAY. No reset when the last client leaves, so that
# settings made by short-lived clients stay.
start_display() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/display")"
    unset QT_QPA_PLATFORM
}

# Writes the settings of a sign into program folder $1: full screen, clock, the slides of $work/Slides.
write_sign_settings() {
    mkdir -p "$work/Slides"
    convert -size 640x480 gradient:navy-orange "$work/Slides/one.jpg"
    convert -size 480x640 gradient:green-white "$work/Slides/two.png"
    printf '[Global]\nSlideDirectory=%s\nFullScreen=1\nLogoVisible=0\nClockVisible=1\nRotateInterval=1\nZjistitNovouVerziPriStartu=0\n' \
        "$work/Slides" >"$1/SlideShow.cfg"
}

# Starts player $1 with "/AUTOSTART", message boxes logged to $work/boxes.log, and waits up to 20 s
# for its presentation window.
start_sign() {
    export LANTERNA_UNATTENDED_LOG="$work/boxes.log"
    "$1" /AUTOSTART &
    player=$!
    for _ in $(seq 200); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Slide Show Prezentace"' && return 0
        kill -0 "$player" 2>/dev/null || fail "the player ended"
        sleep 0.1
    done
    fail "the presentation did not open within 20 s"
}
