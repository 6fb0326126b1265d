#!/bin/sh
# The long form of the kill test of the real Linux program (tests/linux/ui/kill-test.sh, whose short
# form make test runs): KILLS random kills during a start and as many during a stop of a list of
# ENTRIES sites, with the hosts file bind-mounted and under an overlay over /etc, each followed by
# the next start and a stop that must give the hosts file back byte for byte. Runs in a private
# mount namespace on a throwaway desktop; needs root. Without PROGRAM it builds and uses the
# optimised program (build/release).
# Usage: scripts/kill-test.sh [KILLS (50)] [ENTRIES (100000)] [PROGRAM]
set -e
here="$(cd "$(dirname "$0")" && pwd)"
kills="${1:-50}"
entries="${2:-100000}"
program="${3:-}"
if [ -z "$program" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release --target palisade >/dev/null
    program="$here/../build/release/src/linux/ui/palisade"
fi
exec sh "$here/../tests/linux/ui/kill-test.sh" "$program" "$kills" "$entries"
