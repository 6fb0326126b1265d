#!/bin/sh
# Without a display the program says so in one line on standard error and ends with status 1,
# whether no display is set or the one set cannot be reached.
program="$1"
status=0
check() {
    label="$1"; expected="$2"; shift 2
    out=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" "$program" 2>&1 >/dev/null)
    rc=$?
    lines=$(printf '%s\n' "$out" | wc -l)
    if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$out" | grep -q "$expected"; then
        echo "FAIL $label: status $rc, $lines lines:"; printf '%s\n' "$out"; status=1
    else
        echo "ok   $label: $out"
    fi
}
check "no DISPLAY" "there is no display" -u DISPLAY
check "empty DISPLAY" "there is no display" DISPLAY=
check "unreachable DISPLAY" 'the display ":4711" cannot be reached' DISPLAY=:4711
exit $status
