#!/bin/sh
# The real program on a throwaway desktop (see desktop-sandbox.sh), driven as a user would. A new
# ordinary user's start opens the window with no message. Then, as root: start,
# add a site, start blocking (the resolver answers 127.0.0.1 for it), bring it back from the
# notification area, close, start again hidden with blocking re-applied once, stop (the hosts
# file is byte for byte what it was); start a second copy, which hands over to the running one
# and ends; and end by SIGTERM while hidden with the list kept.
# Usage: real-program.sh PROGRAM. Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
SITE=blocked.palisade.test
TITLE="Palisade Software"

. "$(dirname "$0")/../../support/checks.sh"
# A step the rest depends on.
need() {
    check "$@" || { echo "--- program log"; cat "$SANDBOX/program.log"; exit 1; }
}
block_lines() { grep -c "^127\.0\.0\.1 *$SITE\$" /etc/hosts; }
same_as_original() { cmp -s /etc/hosts "$SANDBOX/hosts.original"; }
# No window of the program is up but the main window and the tray icon.
no_message() {
    icon=$(tray_icon)
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        [ "$window" = "$icon" ] && continue
        [ "$(xdotool getwindowname "$window")" = "$TITLE" ] && continue
        echo "unexpected window: $(xdotool getwindowname "$window")"
        return 1
    done
}
ended_well() { program_ended 15 && [ "$PROGRAM_STATUS" -eq 0 ]; }

sandbox_setup
need "the desktop starts" desktop_start
check "the resolver knows nothing of the site" [ -z "$(resolve $SITE)" ]

program_start_as_user
need "a new ordinary user's start opens the main window" wait_until 15 window_shown "$TITLE"
sleep 1
check "... with no message" no_message
kill -TERM "$PROGRAM_PID"
check "... and ends by SIGTERM" ended_well

# Qt's own options are not the caller's to give: a root copy would load what they name.
program_start -platform offscreen -platformpluginpath "$SANDBOX"
need "the main window opens, on the display whatever Qt options are given" \
    wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 window_shown Palisade
type_into Palisade "$SITE"
check "the site is kept in the settings at once" grep -q "$SITE" "$LIST_FILE"
click_in "$TITLE" 268 409 # "Start Blocking"
need "blocking hides the window into the notification area" wait_until 10 window_gone "$TITLE"
check "the resolver answers 127.0.0.1 for the site" [ "$(resolve $SITE)" = 127.0.0.1 ]
check "the hosts snapshot was taken" cmp -s "$DATA_FOLDER/hosts" "$SANDBOX/hosts.original"
need "the tray icon is there" wait_until 5 tray_shown
click_tray_icon
need "a tray click brings the window back" wait_until 5 window_shown "$TITLE"
close_window "$TITLE"
check "closing while blocking ends the program" ended_well
check "blocking outlives the program" [ "$(resolve $SITE)" = 127.0.0.1 ]

program_start
need "the second start comes up in the notification area" wait_until 15 tray_shown
sleep 1
check "... with its window hidden" window_gone "$TITLE"
check "... and blocking re-applied without a second line" [ "$(block_lines)" -eq 1 ]
click_tray_icon
need "a tray click brings the window back" wait_until 5 window_shown "$TITLE"
click_in "$TITLE" 268 409 # "Stop Blocking"
check "stopping frees the site" wait_until 10 sh -c "[ -z \"\$(getent hosts $SITE)\" ]"
check "the hosts file is byte for byte the original" same_as_original
check "the snapshot is gone" [ ! -e "$DATA_FOLDER/hosts" ]
close_window "$TITLE"
check "closing ends the program" ended_well

program_start
need "the third start comes up in the notification area" wait_until 15 tray_shown
sleep 1
"$PROGRAM" >>"$SANDBOX/program.log" 2>&1 &
second=$!
check "a second copy ends at once" wait_until 10 sh -c "! kill -0 $second 2>/dev/null"
wait "$second"
check "... without an error" [ $? -eq 0 ]
check "... and brings the running one forward" wait_until 5 window_shown "$TITLE"
xdotool windowminimize "$(visible_window "$TITLE")"
check "minimising hides it again" wait_until 10 window_gone "$TITLE"
kill -TERM "$PROGRAM_PID"
check "SIGTERM while hidden ends the program" ended_well
check "... with the list kept" grep -q "$SITE" "$LIST_FILE"
check "... and the hosts file untouched" same_as_original

if [ "$failures" -ne 0 ]; then
    echo "--- program log"
    cat "$SANDBOX/program.log"
    exit 1
fi
