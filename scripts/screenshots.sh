#!/bin/sh
# Takes the README's screenshots of the Linux program (the main window and the password window)
# on a throwaway desktop: Xvfb with fluxbox in a private mount namespace, so nothing of this
# system is touched. Needs root and a built program. Usage:
#   scripts/screenshots.sh [PROGRAM] [FOLDER]   (defaults: build/linux/src/linux/ui/palisade, docs)
here=$(cd "$(dirname "$0")/.." && pwd)
SANDBOX_HERE="$here/tests/linux/ui"
. "$SANDBOX_HERE/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM=$(realpath "${1:-$here/build/linux/src/linux/ui/palisade}")
OUT=$(realpath "${2:-$here/docs}")
TITLE="Palisade Software"

fail() {
    echo "screenshots: $*" >&2
    cat "$SANDBOX/program.log" >&2
    exit 1
}

# The window with its frame, as the window manager draws it.
shoot() {
    window=$(visible_window "$1")
    [ -n "$window" ] || fail "no window \"$1\""
    sleep 0.5
    import -window "$window" -frame "$2" || fail "import failed"
    echo "wrote $2"
}

sandbox_setup
desktop_start || fail "no desktop"
program_start
wait_until 15 window_shown "$TITLE" || fail "the main window did not open"
click_in "$TITLE" 400 264 # "Load Sample/Example Data"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
wait_until 5 window_shown Palisade || fail "no input box"
type_into Palisade "news.example.com"
click_in "$TITLE" 268 312 # the password box
xdotool type --delay 20 "secret"
click_in "$TITLE" 60 68 # the first site
shoot "$TITLE" "$OUT/palisade-main-window.png"

xdotool windowminimize "$(visible_window "$TITLE")"
wait_until 10 window_gone "$TITLE" || fail "minimising did not hide the window"
sleep 1
click_tray_icon
wait_until 5 window_shown "Enter Password" || fail "no password window"
xdotool type --delay 20 "secr"
shoot "Enter Password" "$OUT/palisade-password.png"
kill -TERM "$PROGRAM_PID"
program_ended 15
