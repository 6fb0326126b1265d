#!/bin/sh
# The "Run as administrator" launcher against stand-ins for xhost and pkexec on its PATH: on a
# Wayland session the local root user is let into the display while the program runs and shut
# out afterwards, however the program ends; elsewhere, or when root was let in already, the
# display's access list is left alone. Usage: run-as-administrator-test.sh LAUNCHER
set -u
LAUNCHER="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/bin"

# xhost: the access list lives in $WORK/access; every change is logged.
cat >"$WORK/bin/xhost" <<'EOT'
#!/bin/sh
case "${1:-}" in
"") echo "access control enabled, only authorized clients can connect"; cat "$WORK/access" ;;
+*) [ -z "${GRANT_FAILS:-}" ] || exit 1
    echo "xhost $1" >>"$WORK/log"; echo "${1#+}" >>"$WORK/access" ;;
-*) echo "xhost $1" >>"$WORK/log"; grep -vxF "${1#-}" "$WORK/access" >"$WORK/access.new"
    mv "$WORK/access.new" "$WORK/access" ;;
esac
EOT
# pkexec: logs what it was asked to start and whether root could reach the display then.
cat >"$WORK/bin/pkexec" <<'EOT'
#!/bin/sh
if grep -qxF SI:localuser:root "$WORK/access"; then seen=root-let-in; else seen=root-shut-out; fi
echo "pkexec $* $seen" >>"$WORK/log"
if [ -n "${PROGRAM_RUNS:-}" ]; then
    echo $$ >"$WORK/running"
    exec sleep "$PROGRAM_RUNS"
fi
exit "${PROGRAM_STATUS:-0}"
EOT
chmod +x "$WORK/bin/xhost" "$WORK/bin/pkexec"

failures=0
# case SESSION INITIAL_ACCESS PROGRAM_STATUS HOW EXPECTED_STATUS EXPECTED_LOG...
#   SESSION: wayland (WAYLAND_DISPLAY set), wayland-type (XDG_SESSION_TYPE only), x11, or
#   no-display (Wayland without XWayland). HOW: ends, grant-fails or terminated (SIGTERM to the
#   launcher while the program runs).
run_case() {
    session="$1" access="$2" program_status="$3" how="$4" expected_status="$5"
    shift 5
    : >"$WORK/log"
    rm -f "$WORK/running"
    printf '%s\n' $access >"$WORK/access"
    set -- "$@"
    expected=$(printf '%s\n' "$@")
    (
        export WORK PATH="$WORK/bin:$PATH" PROGRAM_STATUS="$program_status"
        unset WAYLAND_DISPLAY XDG_SESSION_TYPE GRANT_FAILS PROGRAM_RUNS
        export DISPLAY=:5
        case "$session" in
        wayland) export WAYLAND_DISPLAY=wayland-0 ;;
        wayland-type) export XDG_SESSION_TYPE=wayland ;;
        x11) export XDG_SESSION_TYPE=x11 ;;
        no-display) export WAYLAND_DISPLAY=wayland-0; unset DISPLAY ;;
        esac
        case "$how" in
        grant-fails) export GRANT_FAILS=1 ;;
        terminated) export PROGRAM_RUNS=5 ;;
        esac
        if [ "$how" = terminated ]; then
            sh "$LAUNCHER" &
            launcher=$!
            i=0
            while [ ! -e "$WORK/running" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
            kill -TERM "$launcher"
            wait "$launcher"
            code=$?
            kill "$(cat "$WORK/running")" 2>/dev/null
            exit $code
        else
            sh "$LAUNCHER"
        fi
    )
    status=$?
    actual=$(cat "$WORK/log")
    name="$session, access [$access], program $program_status, $how"
    if [ "$status" -eq "$expected_status" ] && [ "$actual" = "$expected" ]; then
        echo "ok   $name"
    else
        failures=$((failures + 1))
        echo "FAIL $name: status $status (expected $expected_status)"
        echo "     log:      $(echo "$actual" | tr '\n' '|')"
        echo "     expected: $(echo "$expected" | tr '\n' '|')"
    fi
}

P=/usr/bin/palisade
run_case wayland "" 0 ends 0 \
    "xhost +SI:localuser:root" "pkexec $P root-let-in" "xhost -SI:localuser:root"
run_case wayland-type "SI:localuser:joe" 0 ends 0 \
    "xhost +SI:localuser:root" "pkexec $P root-let-in" "xhost -SI:localuser:root"
run_case wayland "SI:localuser:root" 0 ends 0 "pkexec $P root-let-in"
run_case wayland "" 126 ends 126 \
    "xhost +SI:localuser:root" "pkexec $P root-let-in" "xhost -SI:localuser:root"
run_case wayland "" 0 grant-fails 0 "pkexec $P root-shut-out"
run_case wayland "" 0 terminated 143 \
    "xhost +SI:localuser:root" "pkexec $P root-let-in" "xhost -SI:localuser:root"
run_case x11 "" 0 ends 0 "pkexec $P root-shut-out"
run_case no-display "" 0 ends 0 "pkexec $P root-shut-out"

[ "$failures" -eq 0 ]
