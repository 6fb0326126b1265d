#!/bin/sh
# A Windows program as the release build links it: without debug sections or a symbol table.
# Usage: stripped-test.sh PROGRAM.exe
set -u
[ -f "$1" ] || { echo "no program at $1: make package makes it"; exit 1; }
if x86_64-w64-mingw32-objdump -h "$1" | grep -q '\.debug_\|\.symtab' ||
    x86_64-w64-mingw32-objdump -f "$1" | grep -q 'HAS_SYMS'; then
    echo "FAIL $1 carries debug sections or symbols"
    exit 1
fi
echo "ok   $1 is stripped"
