#!/bin/sh
# The "Run as administrator" launcher with stand-ins for xhost and pkexec on its PATH: on a Wayland
# session root is let into the display while the program runs and shut out afterwards, however
# the program ends; elsewhere, or when root was let in already, the access list is left alone.
# Usage: run-as-administrator-test.sh LAUNCHER
set -u
LAUNCHER="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/bin"
# xhost keeps its access list in $WORK/access and logs each change; pkexec logs what it starts
# and whether root could reach the display then.
cat >"$WORK/bin/xhost" <<'EOT'
#!/bin/sh
case "${1:-}" in
"") echo "access control enabled"; cat "$WORK/access" ;;
+*) [ -z "${GRANT_FAILS:-}" ] || exit 1; echo "xhost $1" >>"$WORK/log"; echo "${1#+}" >>"$WORK/access" ;;
-*) echo "xhost $1" >>"$WORK/log"; grep -vxF "${1#-}" "$WORK/access" >"$WORK/a"; mv "$WORK/a" "$WORK/access" ;;
esac
EOT
cat >"$WORK/bin/pkexec" <<'EOT'
#!/bin/sh
grep -qxF SI:localuser:root "$WORK/access" && seen=root-in || seen=root-out
echo "pkexec $* $seen" >>"$WORK/log"
[ -z "${RUNS_UNTIL_KILLED:-}" ] || { echo $$ >"$WORK/running"; exec sleep 10; }
exit "${PROGRAM_STATUS:-0}"
EOT
chmod +x "$WORK/bin/xhost" "$WORK/bin/pkexec"

failures=0
# run_case SESSION ACCESS PROGRAM_STATUS HOW EXPECTED_STATUS EXPECTED_LOG...
# SESSION: wayland (WAYLAND_DISPLAY), wayland-type (XDG_SESSION_TYPE only), x11, or no-display
# (Wayland without XWayland). HOW: ends, grant-fails, or killed (SIGTERM to the launcher while the
# program runs).
run_case() {
    session="$1" access="$2" program_status="$3" how="$4" expected_status="$5"
    shift 5
    printf '%s\n' $access >"$WORK/access"
    : >"$WORK/log"
    rm -f "$WORK/running"
    (
        unset WAYLAND_DISPLAY XDG_SESSION_TYPE GRANT_FAILS RUNS_UNTIL_KILLED
        export WORK PATH="$WORK/bin:$PATH" PROGRAM_STATUS="$program_status" DISPLAY=:5
        case "$session" in
        wayland) export WAYLAND_DISPLAY=wayland-0 ;;
        wayland-type) export XDG_SESSION_TYPE=wayland ;;
        x11) export XDG_SESSION_TYPE=x11 ;;
        no-display) export WAYLAND_DISPLAY=wayland-0 && unset DISPLAY ;;
        esac
        [ "$how" != grant-fails ] || export GRANT_FAILS=1
        [ "$how" = killed ] || exec sh "$LAUNCHER"
        export RUNS_UNTIL_KILLED=1
        sh "$LAUNCHER" &
        i=0
        while [ ! -s "$WORK/running" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        kill -TERM $!
        wait $!
        status=$?
        kill "$(cat "$WORK/running")"
        exit $status
    )
    status=$?
    log=$(cat "$WORK/log")
    expected=$(printf '%s\n' "$@")
    if [ "$status" -eq "$expected_status" ] && [ "$log" = "$expected" ]; then
        echo "ok   $session, access [$access], program $program_status, $how"
    else
        failures=$((failures + 1))
        echo "FAIL $session, access [$access], program $program_status, $how: status $status"
        printf '     log: %s\n     expected: %s\n' "$(echo $log)" "$(echo $expected)"
    fi
}

P=/usr/bin/palisade
grant="xhost +SI:localuser:root" revoke="xhost -SI:localuser:root"
run_case wayland "" 0 ends 0 "$grant" "pkexec $P root-in" "$revoke"
run_case wayland-type "SI:localuser:joe" 0 ends 0 "$grant" "pkexec $P root-in" "$revoke"
run_case wayland "SI:localuser:root" 0 ends 0 "pkexec $P root-in"
run_case wayland "" 126 ends 126 "$grant" "pkexec $P root-in" "$revoke"
run_case wayland "" 0 killed 143 "$grant" "pkexec $P root-in" "$revoke"
run_case wayland "" 0 grant-fails 0 "pkexec $P root-out"
run_case x11 "" 0 ends 0 "pkexec $P root-out"
run_case no-display "" 0 ends 0 "pkexec $P root-out"
[ "$failures" -eq 0 ]
