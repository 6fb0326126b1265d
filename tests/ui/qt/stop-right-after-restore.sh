#!/bin/sh
# The real program on a throwaway desktop (see desktop-sandbox.sh), run as root. Blocking is
# started, which hides the window with the run's first balloon; while the balloon is still up the
# window is brought back, from the notification area's icon and in another run by a second start,
# and "Stop Blocking" is clicked at once: the hosts file is as it was before, each time.
# Usage: stop-right-after-restore.sh PROGRAM. Exits 77 where it cannot run.
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
same_as_original() { cmp -s /etc/hosts "$SANDBOX/hosts.original"; }
blocked() { grep -q "^127\.0\.0\.1 *$SITE\$" /etc/hosts; }
ended_well() { program_ended 15 && [ "$PROGRAM_STATUS" -eq 0 ]; }
start_blocking() {
    click_in "$TITLE" 268 409 # "Start Blocking"
    need "blocking hides the window" wait_until 10 window_gone "$TITLE"
    check "... and writes the block line" blocked
}
stop_at_once() {
    need "$1 brings the window back" wait_until 5 window_shown "$TITLE"
    click_in "$TITLE" 268 409 # "Stop Blocking", within a second of the window's return
    check "a stop clicked at once gives the hosts file back as it was" wait_until 5 same_as_original
}

sandbox_setup
need "the desktop starts" desktop_start

program_start
need "the main window opens" wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 window_shown Palisade
type_into Palisade "$SITE"
start_blocking
need "the tray icon is there" wait_until 5 tray_shown
click_tray_icon
stop_at_once "a click on the icon"
close_window "$TITLE"
check "closing ends the program" ended_well

# The balloon comes once a run: a new run has it again.
program_start
need "the next run opens its window" wait_until 15 window_shown "$TITLE"
start_blocking
"$PROGRAM" >>"$SANDBOX/program.log" 2>&1 &
second=$!
check "a second copy ends at once" wait_until 10 sh -c "! kill -0 $second 2>/dev/null"
wait "$second"
stop_at_once "the second start"
close_window "$TITLE"
check "closing ends the program" ended_well

if [ "$failures" -ne 0 ]; then
    echo "--- program log"
    cat "$SANDBOX/program.log"
    exit 1
fi
