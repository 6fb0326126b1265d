# A throwaway desktop for running the real program: a private mount namespace with scratch files
# over /etc/hosts, the resolver's configuration and /var/lib (where the shared data folder
# lives), a home and runtime folder of its own, and Xvfb with fluxbox (a window manager with a
# notification area). Sourced by the real-program test and the screenshot script; needs root.
#
#   sandbox_enter "$0" "$@"   re-runs the calling script inside a private mount namespace, or
#                             exits 77 (skipped) where one cannot be made
#   sandbox_setup             makes the scratch files and mounts them (inside only)
#   desktop_start             starts Xvfb and fluxbox on a free display
#   program_start ARGS...     starts the program; its process id is in PROGRAM_PID
#   ...and the helpers below for windows, clicks and keys. Everything started is ended, by its
#   process id, when the script exits.

# The folder of this file; a script sourcing it from elsewhere sets it first.
SANDBOX_HERE=${SANDBOX_HERE:-$(cd "$(dirname "$0")" && pwd)}
SANDBOX_HOSTS_ORIGINAL='127.0.0.1	localhost
::1	localhost ip6-localhost ip6-loopback
# scratch hosts file, no line end at its end'

sandbox_skip() {
    echo "skipped: $*"
    exit 77
}

sandbox_enter() {
    script="$1"
    shift
    if [ "${PALISADE_SANDBOX:-}" = inside ]; then
        # A namespace of our own, not our parent's: only there may anything be mounted.
        [ "$(readlink /proc/self/ns/mnt)" != "$(readlink /proc/$PPID/ns/mnt)" ] ||
            { echo "refusing to mount outside a private mount namespace" >&2; exit 1; }
        return 0
    fi
    [ "$(id -u)" -eq 0 ] || sandbox_skip "needs root to mount scratch files"
    for tool in unshare Xvfb fluxbox xdotool getent import convert; do
        command -v "$tool" >/dev/null 2>&1 || sandbox_skip "$tool is not installed"
    done
    unshare -m true 2>/dev/null || sandbox_skip "no private mount namespace can be made here"
    PALISADE_SANDBOX=inside exec unshare -m --propagation private sh "$script" "$@"
}

sandbox_cleanup() {
    for pid in ${PROGRAM_PID:-} ${FLUXBOX_PID:-} ${XVFB_PID:-}; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    [ -n "${SANDBOX:-}" ] && rm -rf "$SANDBOX"
}

sandbox_setup() {
    SANDBOX=$(mktemp -d /tmp/palisade-desktop.XXXXXX)
    trap sandbox_cleanup EXIT
    trap 'exit 1' INT TERM
    printf '%s' "$SANDBOX_HOSTS_ORIGINAL" >"$SANDBOX/hosts.original"
    cp "$SANDBOX/hosts.original" "$SANDBOX/hosts"
    printf 'hosts: files\n' >"$SANDBOX/nsswitch.conf"
    # The shared data folder is not there, as on a system where the program was never run as root.
    mkdir -p "$SANDBOX/varlib" "$SANDBOX/home" "$SANDBOX/run"
    chmod 700 "$SANDBOX/run"
    mount --bind "$SANDBOX/hosts" /etc/hosts
    mount --bind "$SANDBOX/nsswitch.conf" /etc/nsswitch.conf
    mount --bind "$SANDBOX/varlib" /var/lib
    DATA_FOLDER="/var/lib/Quillmoor/Palisade Software"
    export HOME="$SANDBOX/home" XDG_RUNTIME_DIR="$SANDBOX/run"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SUDO_UID PKEXEC_UID
    # A sanitizer build reports what libraries under Qt keep until the end as leaks.
    export LSAN_OPTIONS="suppressions=$SANDBOX_HERE/lsan.supp:print_suppressions=0"
    # libxkbcommon hands strndup names that end at their length, not at a NUL.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
    SETTINGS_FILE="$XDG_CONFIG_HOME/Quillmoor/Palisade Software.ini"
    LIST_FILE="$XDG_CONFIG_HOME/Quillmoor/Palisade Software.Blocked Websites"
}

desktop_start() {
    mkdir -p "$HOME/.fluxbox"
    cat >"$HOME/.fluxbox/init" <<EOT
session.screen0.toolbar.tools: iconbar, systemtray, clock
session.screen0.toolbar.visible: true
session.screen0.workspaces: 1
session.styleFile: /usr/share/fluxbox/styles/Squared_for_Debian
session.styleOverlay: $HOME/.fluxbox/overlay
session.keyFile: $HOME/.fluxbox/keys
EOT
    printf 'background: none\n' >"$HOME/.fluxbox/overlay"
    printf 'Mod1 F4 :Close\n' >"$HOME/.fluxbox/keys"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$SANDBOX/display" 2>"$SANDBOX/xvfb.log" &
    XVFB_PID=$!
    wait_until 10 test -s "$SANDBOX/display" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(cat "$SANDBOX/display")"
    fluxbox -rc "$HOME/.fluxbox/init" >"$SANDBOX/fluxbox.log" 2>&1 &
    FLUXBOX_PID=$!
    # The notification area is there once fluxbox's toolbar is.
    wait_until 10 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q \"window id\"" ||
        { echo "fluxbox did not start" >&2; return 1; }
    sleep 1
}

# wait_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds.
wait_until() {
    limit=$(($1 * 10))
    shift
    i=0
    while [ $i -lt $limit ]; do
        "$@" && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

program_start() {
    "$PROGRAM" "$@" >>"$SANDBOX/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# Starts the program as an ordinary user (nobody) with a home and runtime folder of its own.
program_start_as_user() {
    chmod 711 "$SANDBOX"
    mkdir -p "$SANDBOX/user-home" "$SANDBOX/user-run"
    chown 65534:65534 "$SANDBOX/user-home" "$SANDBOX/user-run"
    chmod 700 "$SANDBOX/user-run"
    setpriv --reuid 65534 --regid 65534 --clear-groups env HOME="$SANDBOX/user-home" \
        XDG_CONFIG_HOME="$SANDBOX/user-home/.config" XDG_RUNTIME_DIR="$SANDBOX/user-run" \
        "$PROGRAM" >>"$SANDBOX/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# The program has ended within SECONDS; its exit status is in PROGRAM_STATUS.
program_ended() {
    wait_until "$1" sh -c "! kill -0 $PROGRAM_PID 2>/dev/null" || return 1
    wait "$PROGRAM_PID"
    PROGRAM_STATUS=$?
    PROGRAM_PID=
}

# The visible window of the program with exactly that title, if there is one. (xdotool's own
# name match finds more than the exact title.)
visible_window() {
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" --name "$1" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ]; then
            echo "$window"
            return 0
        fi
    done
}

window_shown() { [ -n "$(visible_window "$1")" ]; }
window_gone() { [ -z "$(visible_window "$1")" ]; }

# Clicks at x, y (device-independent pixels of the client area) in the window with that title.
click_in() {
    window=$(visible_window "$1")
    [ -n "$window" ] || { echo "no window \"$1\" to click in" >&2; return 1; }
    xdotool mousemove --window "$window" "$2" "$3" click "${4:-1}"
    sleep 0.3
}

# Types text and presses Return in the window with that title.
type_into() {
    window=$(visible_window "$1")
    [ -n "$window" ] || { echo "no window \"$1\" to type into" >&2; return 1; }
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool type --delay 20 "$2"
    xdotool key Return
    sleep 0.3
}

# The program's icon in the notification area: its small window docked in fluxbox's toolbar.
tray_icon() {
    for window in $(xdotool search --pid "$PROGRAM_PID" 2>/dev/null); do
        size=$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: //p')
        case "$size" in
        1[0-9]x1[0-9] | 2[0-9]x2[0-9] | 3[0-2]x3[0-2]) echo "$window"; return 0 ;;
        esac
    done
    return 1
}

tray_shown() { tray_icon >/dev/null; }

# Near the icon's bottom edge: the balloon's tip overlaps its top, and a click there is a click
# on the balloon.
click_tray_icon() {
    icon=$(tray_icon) || { echo "no tray icon to click" >&2; return 1; }
    size=$(xdotool getwindowgeometry "$icon" | sed -n 's/.*Geometry: //p')
    xdotool mousemove --window "$icon" $((${size%x*} / 2)) $((${size#*x} - 3)) click "${1:-1}"
    sleep 0.5
}

# Asks the window manager to close the window with that title, as its close box does.
close_window() {
    window=$(visible_window "$1")
    [ -n "$window" ] || { echo "no window \"$1\" to close" >&2; return 1; }
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key alt+F4
}

# The address the resolver gives for a name, empty when it knows none.
resolve() {
    getent hosts "$1" | awk '{ print $1; exit }'
}
