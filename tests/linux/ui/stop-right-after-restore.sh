#!/bin/sh
# The real program on a throwaway desktop (see desktop-sandbox.sh), run as root. Blocking hides
# the window with the run's first balloon; while that is up, the window is brought back (from
# the notification area's icon, and in another run by a second start) and "Stop Blocking" is
# clicked at once: the hosts file is as it was before, each time.
# Usage: stop-right-after-restore.sh PROGRAM. Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
TITLE="Palisade Software"
. "$(dirname "$0")/../../support/checks.sh"
need() { check "$@" || { cat "$SANDBOX/program.log"; exit 1; }; }
# The hosts file as it was, and the stop run to its end (it stores BlockOnStart last).
stopped() {
    cmp -s /etc/hosts "$SANDBOX/hosts.original" && grep -qx 'BlockOnStart="0"' "$SETTINGS_FILE"
}
ended_well() { program_ended 15 && [ "$PROGRAM_STATUS" -eq 0 ]; }
# Starts blocking, brings the window back with the command given, stops at once, and closes.
block_then_stop_after() {
    click_in "$TITLE" 268 409 # "Start Blocking"
    need "blocking hides the window" wait_until 10 window_gone "$TITLE"
    check "... and writes the hosts file" sh -c "! cmp -s /etc/hosts '$SANDBOX/hosts.original'"
    "$@"
    need "$* brings the window back" wait_until 5 window_shown "$TITLE"
    click_in "$TITLE" 268 409 # "Stop Blocking", within a second of its return
    check "a stop clicked at once gives the hosts file back" wait_until 5 stopped
    close_window "$TITLE"
    check "closing ends the program" ended_well
}
second_start() { "$PROGRAM" >>"$SANDBOX/program.log" 2>&1; }

sandbox_setup
need "the desktop starts" desktop_start
program_start
need "the main window opens" wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 window_shown Palisade
type_into Palisade blocked.palisade.test
need "the tray icon is there" wait_until 5 tray_shown
block_then_stop_after click_tray_icon
program_start # the balloon comes once a run
need "the next run opens its window" wait_until 15 window_shown "$TITLE"
block_then_stop_after second_start
[ "$failures" -eq 0 ] || { cat "$SANDBOX/program.log"; exit 1; }
