#!/bin/sh
# palisade.exe loads on the Windows its header names (6.1, Windows 7): it imports no function of
# Windows 10 version 1607 (it looks the per-monitor DPI ones up while it runs).
# Usage: imports-test.sh PALISADE_EXE
set -u
EXE="$1"
. "$(dirname "$0")/../../support/checks.sh"
headers() { x86_64-w64-mingw32-objdump -p "$EXE"; }
no_later_imports() {
    ! headers | grep -Ewq \
        'GetDpiForWindow|GetDpiForSystem|AdjustWindowRectExForDpi|GetSystemMetricsForDpi'
}
names_windows_7() { headers | grep -Pzq 'MajorSubsystemVersion\t6\nMinorSubsystemVersion\t1\n'; }
check "no per-monitor DPI function is imported" no_later_imports
check "the header names Windows 7" names_windows_7
[ "$failures" -eq 0 ]
