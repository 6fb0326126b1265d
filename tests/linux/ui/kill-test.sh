#!/bin/sh
# The real program killed (SIGKILL) at random moments while it starts or stops blocking a long
# list, on a throwaway desktop (see desktop-sandbox.sh): first with the hosts file bind-mounted
# over /etc/hosts, where it is rewritten in place, then with an overlay mounted over /etc, where
# it is renamed over. After each kill the next start and a stop must give the hosts file back
# byte for byte, with no torn or half line on the way and no snapshot or journal left.
# Usage: kill-test.sh PROGRAM [KILLS] [ENTRIES]: KILLS during a start and as many during a stop,
# for each kind of hosts file (default 2), with a list of ENTRIES sites (default 100000).
# Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
KILLS="${2:-2}"
ENTRIES="${3:-100000}"
TITLE="Palisade Software"

. "$(dirname "$0")/../../support/checks.sh"
need() {
    check "$@" || { echo "--- program log"; cat "$SANDBOX/program.log"; exit 1; }
}

BEGAN=$(date +%s)
sandbox_setup
need "the desktop starts" desktop_start
INI="$XDG_CONFIG_HOME/Quillmoor/Palisade Software.ini"
SNAPSHOT="$DATA_FOLDER/hosts"
JOURNAL="$DATA_FOLDER/hosts-journal"

# The list, stored as the program stores it, and every line a start may write.
mkdir -p "$(dirname "$LIST_FILE")"
awk -v n="$ENTRIES" 'BEGIN { for (i = 0; i < n; i++) printf "site%d.palisade.test||My_Separator||", i }' \
    >"$LIST_FILE"
chmod 600 "$LIST_FILE"
awk -v n="$ENTRIES" 'BEGIN { for (i = 0; i < n; i++) printf "127.0.0.1          site%d.palisade.test\n", i }' \
    >"$SANDBOX/block-lines"
block_lines() { grep -c '^127\.0\.0\.1          site[0-9]*\.palisade\.test$' /etc/hosts; }
all_blocked() { [ "$(block_lines)" -eq "$ENTRIES" ]; }
blocking_stored() { grep -Eq '^BlockOnStart="?1"?$' "$INI" 2>/dev/null; }

# Every line is one of the original's or a whole block line of the list.
whole_lines() {
    { cat "$SANDBOX/hosts.original"; echo; cat "$SANDBOX/block-lines"; } | awk '
        NR == FNR { known[$0] = 1; next }
        $0 != "" && !($0 in known) { print "torn: [" $0 "]"; bad = 1 }
        END { exit bad }' - /etc/hosts
}
same_as_original() { cmp -s /etc/hosts "$SANDBOX/hosts.original"; }
nothing_left() { [ ! -e "$SNAPSHOT" ] && [ ! -e "$JOURNAL" ]; }

# A random time in milliseconds from 0 to $1.
random_ms() {
    od -An -N4 -tu4 /dev/urandom | awk -v most="$1" '{ printf "%d", $1 % (most + 1) }'
}
sleep_ms() { sleep "$(awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }')"; }
now_ms() { date +%s%3N; }

kill_program() {
    kill -KILL "$PROGRAM_PID" 2>/dev/null
    wait "$PROGRAM_PID" 2>/dev/null
    PROGRAM_PID=
}

# Brings the window up, whether the program came up shown or hidden in the notification area.
shown_or_in_tray() { window_shown "$TITLE" || tray_shown; }
window_up() {
    wait_until 60 shown_or_in_tray || return 1
    sleep 1
    window_shown "$TITLE" && return 0
    click_tray_icon
    wait_until 60 window_shown "$TITLE"
}

# The main window, then a click on its block button that returns at once: the time after the
# click is the button's.
find_window() { WINDOW=$(visible_window "$TITLE"); }
click_block_button() { xdotool mousemove --window "$WINDOW" 268 409 click 1; }

# The next run after a kill: its start settles what the kill left (re-applying blocking when
# that is stored), then it stops as the user would: the button when blocking is on, else the
# close, whose handler undoes what a start left.
start_and_stop_again() {
    program_start
    window_up || return 1
    if blocking_stored; then
        wait_until 60 all_blocked || return 1
    fi
    [ ! -e "$JOURNAL" ] || { echo "a journal is left after the start"; return 1; }
    whole_lines || return 1
    if blocking_stored; then
        find_window
        click_block_button
        wait_until 60 same_as_original || return 1
    fi
    close_window "$TITLE"
    program_ended 60
}

# One start by the button, timed, that leaves blocking on and the program closed: the state a
# kill during a stop begins from.
block_and_close() {
    rm -f "$INI" "$SNAPSHOT" "$JOURNAL"
    cp "$SANDBOX/hosts.original" /etc/hosts
    program_start
    need "the program comes up with the list" window_up
    find_window
    started=$(now_ms)
    click_block_button
    until all_blocked; do :; done
    START_MS=$(($(now_ms) - started))
    need "blocking hides the window" wait_until 30 window_gone "$TITLE"
    click_tray_icon
    need "a tray click brings the window back" wait_until 10 window_shown "$TITLE"
    close_window "$TITLE"
    need "closing while blocking ends the program" program_ended 60
    cp /etc/hosts "$SANDBOX/hosts.blocked"
    cp "$SNAPSHOT" "$SANDBOX/snapshot.blocked"
    cp "$INI" "$SANDBOX/ini.blocked"
}

restore_blocked() {
    cp "$SANDBOX/hosts.blocked" /etc/hosts
    cp "$SANDBOX/snapshot.blocked" "$SNAPSHOT"
    cp "$SANDBOX/ini.blocked" "$INI"
    rm -f "$JOURNAL"
}

# kill_during start|stop KIND: one kill at a random moment, then the check of the next run.
kill_during() {
    if [ "$1" = start ]; then
        rm -f "$INI" "$SNAPSHOT" "$JOURNAL"
        cp "$SANDBOX/hosts.original" /etc/hosts
        program_start
        window_up || return 1
        delay=$(random_ms "$START_MS")
    else
        restore_blocked
        program_start
        window_up || return 1
        delay=$(random_ms "$STOP_MS")
    fi
    find_window
    click_block_button
    sleep_ms "$delay"
    kill_program
    lines=$(block_lines)
    if [ -e "$JOURNAL" ] || { [ "$lines" -ne 0 ] && [ "$lines" -ne "$ENTRIES" ]; } ||
        ! whole_lines >/dev/null; then
        phase=during
    elif { [ "$lines" -eq 0 ] && [ "$1" = start ]; } || { [ "$lines" -ne 0 ] && [ "$1" = stop ]; }; then
        phase=before
    else
        phase=after
    fi
    eval "count=\$${1}_$phase"
    eval "${1}_$phase=$((count + 1))"
    echo "     killed $delay ms into the $1 ($2), $phase its change of the hosts file:" \
        "$lines block lines, $(blocking_stored && echo blocking || echo not blocking) stored" \
        "$([ -e "$JOURNAL" ] && echo ", a journal")"
    start_and_stop_again && same_as_original && nothing_left && ! blocking_stored
}

run_kind() {
    block_and_close
    # A stop, timed, from that state.
    restore_blocked
    program_start
    need "the blocked program comes up" window_up
    find_window
    started=$(now_ms)
    click_block_button
    need "the stop gives the hosts file back" wait_until 60 same_as_original
    until same_as_original; do :; done
    STOP_MS=$(($(now_ms) - started))
    close_window "$TITLE"
    need "... and the program ends" program_ended 60
    echo "     $1: a start takes about $START_MS ms, a stop $STOP_MS ms (click to file)"
    for moment in start stop; do
        kill_number=0
        while [ $kill_number -lt "$KILLS" ]; do
            kill_number=$((kill_number + 1))
            check "$1: kill $kill_number during a $moment, then the next start and a stop" \
                kill_during "$moment" "$1" || {
                echo "--- hosts file: $(wc -l </etc/hosts) lines"; tail -3 /etc/hosts
                [ -n "${PROGRAM_PID:-}" ] && kill_program
            }
        done
    done
}

# The hosts file as desktop-sandbox.sh mounts it: a file bind-mounted over /etc/hosts.
run_kind "bind-mounted hosts file"

# An overlay over /etc, as some containers have: /etc/hosts is an ordinary file there.
umount /etc/hosts /etc/nsswitch.conf
mkdir -p "$SANDBOX/upper" "$SANDBOX/work"
cp "$SANDBOX/hosts.original" "$SANDBOX/upper/hosts"
cp "$SANDBOX/nsswitch.conf" "$SANDBOX/upper/nsswitch.conf"
need "an overlay goes over /etc" mount -t overlay overlay \
    -o "lowerdir=/etc,upperdir=$SANDBOX/upper,workdir=$SANDBOX/work" /etc
run_kind "overlay over /etc"

echo "kills: $KILLS during a start and $KILLS during a stop for each kind, in $(($(date +%s) - BEGAN)) s;" \
    "failures: $failures"
for moment in start stop; do
    eval "echo \"     during a $moment: \${${moment}_before:-0} before the hosts file changed," \
        "\${${moment}_during:-0} while it changed, \${${moment}_after:-0} after\""
done
if [ "$failures" -ne 0 ]; then
    echo "--- program log"
    tail -50 "$SANDBOX/program.log"
    exit 1
fi
