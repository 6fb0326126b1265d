#!/bin/sh
# A Windows program as the release build links it: no debug sections, no symbol table.
# Usage: stripped-test.sh PROGRAM.exe
set -u
headers=$(x86_64-w64-mingw32-objdump -h -f "$1") || exit 1
! echo "$headers" | grep -q '\.debug_\|HAS_SYMS' || { echo "FAIL $1 is not stripped"; exit 1; }
