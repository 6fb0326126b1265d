#!/bin/sh
# The real program run by an ordinary user on a throwaway desktop (see desktop-sandbox.sh), with a
# stand-in for pkexec bound over /usr/bin/pkexec. The stand-in cannot gain root: it hands each
# request to a relay that this test runs as root, which runs the real helper, so the hosts file
# really changes. As a member of the sudo group: Start Blocking blocks, a start with blocking on
# asks nothing, Stop Blocking puts the file back byte for byte; a dismissed password dialog
# (126) changes nothing and says nothing, no authentication agent (127) is said so. As a user
# outside the sudo group: the refusal, and no request. A screenshot of the administrator's window
# is left in $SHOT_DIR when that is set.
# Usage: helper-program.sh PROGRAM HELPER. Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
HELPER="$2"
SITE=blocked.palisade.test
TITLE="Palisade Software"
. "$(dirname "$0")/../../support/checks.sh"
need() {
    check "$@" || { echo "--- program log"; cat "$SANDBOX/program.log"; exit 1; }
}
[ -x "$HELPER" ] && [ -e /usr/bin/pkexec ] || sandbox_skip "no helper or no pkexec to stand in for"

sandbox_setup
RELAY="$SANDBOX/relay"
mkdir -p "$RELAY"
mkfifo "$RELAY/request" "$RELAY/answer"
chmod 777 "$RELAY"
chmod 666 "$RELAY/request" "$RELAY/answer"
echo relay >"$RELAY/mode"
chmod 644 "$RELAY/mode"
: >"$SANDBOX/requests"
cat >"$SANDBOX/pkexec" <<EOT
#!/bin/sh
# pkexec as the test wants it: relayed to root, dismissed (126) or without an agent (127).
case "\$(cat "$RELAY/mode")" in
126) exit 126 ;;
127) echo "Error executing command as another user: No authentication agent found." >&2
     exit 127 ;;
esac
shift # the helper's path: the relay runs the helper the test names
cat >"$RELAY/input"
echo "\$*" >"$RELAY/request"
{ read -r status; read -r line; } <"$RELAY/answer"
printf '%s\n' "\$line"
exit "\$status"
EOT
chmod 755 "$SANDBOX/pkexec"
mount --bind "$SANDBOX/pkexec" /usr/bin/pkexec
# An ordinary user (nobody) who is a member of the sudo group.
sed 's/^sudo:x:27:.*/sudo:x:27:nobody/' /etc/group >"$SANDBOX/group"
mount --bind "$SANDBOX/group" /etc/group
relay() {
    while read -r request <"$RELAY/request"; do
        echo "$request" >>"$SANDBOX/requests"
        # shellcheck disable=SC2086
        line=$("$HELPER" $request <"$RELAY/input")
        printf '%s\n%s\n' $? "$line" >"$RELAY/answer"
    done
}
relay &
RELAY_PID=$!
trap 'kill $RELAY_PID 2>/dev/null; sandbox_cleanup' EXIT

requests() { wc -l <"$SANDBOX/requests"; }
same_as_original() { cmp -s /etc/hosts "$SANDBOX/hosts.original"; }
# A message box: a window of the program titled "Palisade" wider than the tray icon.
message_shown() {
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [ "$WIDTH" -gt 100 ] && [ "$(xdotool getwindowname "$window")" = Palisade ] && return 0
    done
    return 1
}
no_message() { ! message_shown; }
as_user() { # GROUPS: --init-groups (the sudo group) or --clear-groups
    chmod 711 "$SANDBOX"
    mkdir -p "$SANDBOX/user-home" "$SANDBOX/user-run"
    chown 65534:65534 "$SANDBOX/user-home" "$SANDBOX/user-run"
    chmod 700 "$SANDBOX/user-run"
    setpriv --reuid 65534 --regid 65534 "$1" env HOME="$SANDBOX/user-home" \
        XDG_CONFIG_HOME="$SANDBOX/user-home/.config" XDG_RUNTIME_DIR="$SANDBOX/user-run" \
        "$PROGRAM" >>"$SANDBOX/program.log" 2>&1 &
    PROGRAM_PID=$!
}

need "the desktop starts" desktop_start
as_user --init-groups
need "an administrator's window opens as the user" wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 message_shown
type_into Palisade "$SITE"

echo 126 >"$RELAY/mode"
click_in "$TITLE" 268 409 # "Start Blocking"
sleep 1
check "a dismissed password dialog changes nothing" same_as_original
check "... says nothing" no_message
check "... and leaves the window up" window_shown "$TITLE"

echo 127 >"$RELAY/mode"
click_in "$TITLE" 268 409
check "no authentication agent is said so" wait_until 5 message_shown
[ -n "${SHOT_DIR:-}" ] && import -window root "$SHOT_DIR/linux-no-agent.png"
xdotool key Return
check "... and nothing changed" same_as_original

echo relay >"$RELAY/mode"
click_in "$TITLE" 268 409
need "Start Blocking through the helper hides the window" wait_until 15 window_gone "$TITLE"
check "the resolver answers 127.0.0.1 for the site" [ "$(resolve $SITE)" = 127.0.0.1 ]
check "... the helper was asked once" [ "$(requests)" -eq 1 ]
close_tray_then=$(requests)
need "the tray icon is there" wait_until 5 tray_shown
click_tray_icon
need "a tray click brings the window back" wait_until 5 window_shown "$TITLE"
close_window "$TITLE"
check "closing while blocking ends the program" program_ended 15

as_user --init-groups
need "a start with blocking on comes up in the notification area" wait_until 15 tray_shown
sleep 1
check "... and asks nothing: every line is there" [ "$(requests)" -eq "$close_tray_then" ]
click_tray_icon
need "the window comes back" wait_until 5 window_shown "$TITLE"
[ -n "${SHOT_DIR:-}" ] && import -window root "$SHOT_DIR/linux-administrator-blocking.png"
click_in "$TITLE" 268 409 # "Stop Blocking"
check "Stop Blocking puts the hosts file back byte for byte" wait_until 10 same_as_original
check "... and the snapshot goes" [ ! -e "$DATA_FOLDER/hosts" ]
close_window "$TITLE"
check "closing with blocking off asks nothing" program_ended 15 &&
    check "... no request" [ "$(requests)" -eq $((close_tray_then + 1)) ]

as_user --clear-groups
# Blocking was on at the last close, so "Start in system tray" is on.
need "a user outside the sudo group starts in the notification area" wait_until 15 tray_shown
click_tray_icon
need "... and gets the window back" wait_until 5 window_shown "$TITLE"
click_in "$TITLE" 268 409
check "... and the refusal on Start Blocking" wait_until 5 message_shown
xdotool key Return
check "... with no request and no change" \
    sh -c '[ "$(wc -l <"$1")" -eq "$2" ]' - "$SANDBOX/requests" $((close_tray_then + 1))
check "... to the hosts file" same_as_original
kill "$PROGRAM_PID"
program_ended 15

[ "$failures" = 0 ] || { echo "--- program log"; cat "$SANDBOX/program.log"; }
[ "$failures" = 0 ]
