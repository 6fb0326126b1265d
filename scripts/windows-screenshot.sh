#!/usr/bin/env bash
# Takes the README's screenshot of the Windows program: both of its windows under Wine, on a
# throwaway X display with fluxbox, in the window tests' own Wine prefix. Build the Windows
# target first (make windows).
#
#   scripts/windows-screenshot.sh [OUTPUT.png]     default docs/palisade-windows.png
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows"
out="$(realpath -m "${1:-$root/docs/palisade-windows.png}")"
pose="$build/tests/windows/ui/pose_windows.exe"
[[ -x "$pose" ]] || { echo "windows-screenshot: build the Windows target first" >&2; exit 1; }

export PALISADE_EXE="Z:$build/src/windows/ui/palisade.exe"
export SHOT_OUT="$out" SHOT_POSE="$pose" SHOT_ROOT="$root"
exec "$root/scripts/wine-gui-run" --window-manager bash -c '
    log="$(mktemp)"
    "$SHOT_ROOT/scripts/wine-run" "$SHOT_POSE" >"$log" 2>&1 &
    runner=$!
    for _ in $(seq 120); do
        grep -q "^posed" "$log" && break
        sleep 0.5
    done
    sleep 1
    mkdir -p "$(dirname "$SHOT_OUT")"
    import -window root "$SHOT_OUT"
    wait $runner
    rc=$?
    grep -E "first window|pose-windows" "$log" || true
    rm -f "$log"
    exit $rc
'
