#!/bin/sh
# palisade.exe loads on the Windows its header names (6.1, Windows 7): it imports none of the
# functions that came later, with Windows 10 version 1607 (the per-monitor DPI ones are looked up
# while it runs), and its header names no older Windows than the functions it does import need.
# Usage: imports-test.sh PALISADE_EXE
set -u
EXE="$1"
. "$(dirname "$0")/../../support/checks.sh"
headers=$(x86_64-w64-mingw32-objdump -p "$EXE") || { echo "cannot read $EXE"; exit 1; }

later=$(echo "$headers" |
    grep -Ewo 'GetDpiForWindow|GetDpiForSystem|AdjustWindowRectExForDpi|GetSystemMetricsForDpi')
check "no function of Windows 10 version 1607 is imported" [ -z "$later" ]
version() { echo "$headers" | awk -v key="$1" '$1 == key { print $2 }'; }
check "the header names Windows 7 (6.1) as the oldest it runs on" \
    [ "$(version MajorSubsystemVersion).$(version MinorSubsystemVersion)" = 6.1 ]

[ "$failures" -eq 0 ]
