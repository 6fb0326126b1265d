#!/bin/sh
# scripts/wine-run against a fake wine: a program Wine never started (it ended at once with no
# output), or whose end the host's loader aborted, is run once more, and wine-run says so; any
# other failure is the program's and stands. Usage: wine-run-test.sh SOURCE_DIR
set -u
ROOT="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/tests/support/checks.sh"

# Start n plays line n of $WORK/starts: an exit code, what the program writes (CRLF ended), and
# "ld.so" when the host's loader aborts Wine as it ends.
mkdir -p "$WORK/bin" "$WORK/prefix"
touch "$WORK/prefix/.palisade-ready"
cat >"$WORK/bin/wine" <<EOT
#!/bin/sh
echo x >>"$WORK/count"
set -- \$(sed -n "\$(wc -l <"$WORK/count")p" "$WORK/starts")
[ \$# -gt 1 ] && printf '%s\r\n' "\$2"
[ "\${3:-}" = ld.so ] && echo "Inconsistency detected by ld.so: dl-fini.c: 87" >&2
exit "\$1"
EOT
chmod +x "$WORK/bin/wine"

# wine-run with the starts given; "starts exit-code output stderr" afterwards in $WORK/seen.
run() {
    rm -f "$WORK/count"
    printf '%s\n' "$@" >"$WORK/starts"
    PATH="$WORK/bin:$PATH" PALISADE_WINEPREFIX="$WORK/prefix" \
        bash "$ROOT/scripts/wine-run" test.exe >"$WORK/out" 2>"$WORK/err"
    status=$?
    echo "$(wc -l <"$WORK/count") $status $(echo $(cat "$WORK/out"))" \
        "$(grep -c 'once more' "$WORK/err")" >"$WORK/seen"
}
seen() { [ "$(cat "$WORK/seen")" = "$1" ]; }

run 1 "0 PASSED"
check "a program Wine never started runs once more, in LF lines, and wine-run says so" \
    seen "2 0 PASSED 1"
run 53 53
check "... but not a third time: Wine's code stands" seen "2 53  1"
run "127 PASSED ld.so" "0 PASSED"
check "so is one whose end the loader aborted, both runs' output passed on" \
    seen "2 0 PASSED PASSED 1"
run "1 FAILED" "0 PASSED"
check "a test that failed is not run again" seen "1 1 FAILED 0"
run 0
check "nor one that ended well without a word" seen "1 0  0"
[ "$failures" -eq 0 ]
