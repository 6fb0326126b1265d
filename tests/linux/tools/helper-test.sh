#!/bin/sh
# palisade-helper as root, in a private mount namespace with scratch files over /etc/hosts, the
# data folder and the autostart folder: each request's exit status, its one line, and what it
# left in the files. Skipped (77) where that cannot be made.
helper="$1"
[ "$(id -u)" = 0 ] && [ -x "$helper" ] || exit 77
if [ -z "$HELPER_TEST_IN_NAMESPACE" ]; then
    unshare -m true 2>/dev/null || exit 77
    HELPER_TEST_IN_NAMESPACE=1 exec unshare -m --propagation private sh "$0" "$@"
fi
. "$(dirname "$0")/../../support/checks.sh"

scratch=$(mktemp -d)
trap 'kill $holder 2>/dev/null; umount -l /etc/hosts /var/lib/Quillmoor /etc/xdg/autostart \
    "$scratch/small" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data" "$scratch/autostart" "$scratch/small" /var/lib/Quillmoor /etc/xdg/autostart
printf '127.0.0.1 localhost\n# the user own line\n' >"$scratch/original"
cp "$scratch/original" "$scratch/hosts"
mount --bind "$scratch/hosts" /etc/hosts &&
    mount --bind "$scratch/data" /var/lib/Quillmoor &&
    mount --bind "$scratch/autostart" /etc/xdg/autostart || exit 77
data="/var/lib/Quillmoor/Palisade Software"
entry=/etc/xdg/autostart/palisade.desktop
block() { printf '127.0.0.1          %s\n' "$@"; }

# run STATUS LINE-PATTERN ARGUMENTS...: the helper with $scratch/in on its standard input.
run() {
    want="$1" pattern="$2"
    shift 2
    line=$("$helper" "$@" <"$scratch/in")
    status=$?
    check "$* answers $want ($status: $line)" [ "$status" = "$want" ] &&
        check "... with one line matching '$pattern'" sh -c \
            '[ "$(printf "%s\n" "$1" | wc -l)" = 1 ] && printf "%s\n" "$1" | grep -Eq "$2"' \
            - "$line" "$pattern"
}
unchanged() { check "... and /etc/hosts is unchanged" cmp -s /etc/hosts "$scratch/before"; }
same_hosts() { cp /etc/hosts "$scratch/before"; }

printf 'a.example\nnot a site!\nb.example\n' >"$scratch/in"
run 0 '^$' start button
{ cat "$scratch/original"; block a.example b.example; } >"$scratch/blocked"
check "... the block lines follow the user's own" cmp -s /etc/hosts "$scratch/blocked"
check "... and the snapshot holds the file before" cmp -s "$data/hosts" "$scratch/original"

printf 'a.example\nb.example\nc.example\n' >"$scratch/in"
run 0 '^$' start reapply
check "... a re-apply adds only the missing line" [ "$(grep -c 'a\.example' /etc/hosts)" = 1 ] &&
    check "... and c.example" grep -q '^127.0.0.1          c.example$' /etc/hosts

: >"$scratch/in"
run 0 '^$' stop close
check "... puts the file back byte for byte" cmp -s /etc/hosts "$scratch/original"
check "... and the snapshot goes" [ ! -e "$data/hosts" ]

block a.example >>/etc/hosts
printf 'a.example\n' >"$scratch/in"
run 0 '^$' stop button
check "... without a snapshot takes out the list's lines only" cmp -s /etc/hosts "$scratch/original"

run 0 '^$' autostart on
check "... writes the entry for the program beside the helper" \
    grep -qx "Exec=$(cd "$(dirname "$helper")" && pwd -P)/palisade" "$entry"
check "... and the marker" [ -f "$data/iStart" ]
run 0 '^$' autostart off
check "... removes both" [ ! -e "$entry" ] && check "... both" [ ! -e "$data/iStart" ]

# Refused requests change nothing.
same_hosts
run 2 'must be' start
run 2 'must be' stop everything
seq 1000001 | sed 's/^/h/' >"$scratch/in"
run 2 'too long' start button && unchanged
yes "$(printf 'a%.0s' $(seq 1000))" | head -c 67108865 >"$scratch/in"
run 2 'too large' start button && unchanged
printf 'a.example\nb\001.example\n' >"$scratch/in"
run 2 'control character' start button && unchanged
printf 'a.example 127.0.0.2 b.example\n' >"$scratch/in"
run 0 '^$' start button
check "... an entry never adds a second address or line" \
    sh -c '! grep -q "127.0.0.2" /etc/hosts && [ "$(wc -l </etc/hosts)" = 2 ]'
: >"$scratch/in"
"$helper" stop close <"$scratch/in" >/dev/null

# Links planted in the data folder or the autostart folder are never followed.
same_hosts
printf 'secret\n' >"$scratch/target"
ln -s "$scratch/target" "$data/hosts"
printf 'a.example\n' >"$scratch/in"
run 1 'is not a regular file' stop button && unchanged
run 1 'is not a regular file' start button && unchanged
rm "$data/hosts"
ln -s "$scratch/target" "$entry"
run 0 '^$' autostart on
check "... replaces a planted entry link, its target untouched" \
    sh -c '[ -f "$1" ] && [ ! -L "$1" ] && [ "$(cat "$2")" = secret ]' - "$entry" "$scratch/target"
run 0 '^$' autostart off

# Another holder of the hosts lock: the helper waits, then says the file is busy.
(
    exec 9>>"$data/hosts.lock"
    flock -x 9
    exec sleep 30
) &
holder=$!
sleep 1
run 1 'busy' start button && unchanged
kill $holder

# Started by an ordinary user without pkexec: refused, nothing changed.
setpriv --reuid=65534 --regid=65534 --clear-groups "$helper" autostart on \
    >"$scratch/line" 2>/dev/null
check "an ordinary user is refused (3)" [ $? = 3 ] &&
    check "... not authorised" grep -q 'Not authorised' "$scratch/line" &&
    check "... and nothing was written" [ ! -e "$entry" ]

# A full disk: the append is cut back, the answer says why.
mount -t tmpfs -o size=64k tmpfs "$scratch/small" &&
    cp "$scratch/original" "$scratch/small/hosts" &&
    { head -c 40000 /dev/zero >"$scratch/small/filler" 2>/dev/null; true; } &&
    mount --bind "$scratch/small/hosts" /etc/hosts && {
    same_hosts
    seq 4000 | sed 's/^/host-/; s/$/.example/' >"$scratch/in"
    run 1 'Disk full' start button && unchanged
}

[ "$failures" = 0 ]
