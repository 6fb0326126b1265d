#!/bin/sh
# scripts/wine-run against a fake wine: a program that Wine never started (it ended at once with
# no output) is started once more, and wine-run says so; a program that wrote anything has run,
# and its exit code stands with no second run; output comes with LF line ends.
# Usage: wine-run-test.sh SOURCE_DIR
set -u
ROOT="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/tests/support/checks.sh"

mkdir -p "$WORK/bin" "$WORK/prefix"
touch "$WORK/prefix/.palisade-ready"
# Plays each start from the script in $WORK/starts, one line per start: "silent CODE" ends with
# that code having written nothing, "say CODE TEXT" writes TEXT with a CRLF first.
cat >"$WORK/bin/wine" <<EOT
#!/bin/sh
n=\$(( \$(cat "$WORK/count" 2>/dev/null || echo 0) + 1 ))
echo \$n >"$WORK/count"
start=\$(sed -n "\${n}p" "$WORK/starts")
case "\$start" in
say*) printf '%s\r\n' "\$(echo "\$start" | cut -d' ' -f3-)" ;;
esac
exit "\$(echo "\$start" | cut -d' ' -f2)"
EOT
chmod +x "$WORK/bin/wine"

# Runs wine-run with the starts given, one argument each.
run() {
    rm -f "$WORK/count"
    printf '%s\n' "$@" >"$WORK/starts"
    PATH="$WORK/bin:$PATH" PALISADE_WINEPREFIX="$WORK/prefix" \
        bash "$ROOT/scripts/wine-run" test.exe >"$WORK/out" 2>"$WORK/err"
    status=$?
    starts=$(cat "$WORK/count")
}
said_again() { grep -q "never started" "$WORK/err"; }

run "silent 1" "say 0 [  PASSED  ] 1 test."
check "a program Wine never started is started once more" [ "$starts" -eq 2 ]
check "... and its second run's result stands" [ "$status" -eq 0 ]
check "... with its output, in LF lines" [ "$(cat "$WORK/out")" = "[  PASSED  ] 1 test." ]
check "... and wine-run says so" said_again

run "silent 53" "silent 53"
check "twice not started: no third try, and Wine's code stands" [ "$starts" -eq 2 ] &&
    [ "$status" -eq 53 ]

run "say 1 [  FAILED  ] StopBlocking.X" "say 0 [  PASSED  ] 1 test."
check "a test that failed is not run again" [ "$starts" -eq 1 ] && [ "$status" -eq 1 ]
check "... and nothing is said of a start" sh -c "! grep -q . '$WORK/err'"

run "silent 0"
check "a program that ran well without a word is not run again" [ "$starts" -eq 1 ] &&
    [ "$status" -eq 0 ]

[ "$failures" -eq 0 ]
