#!/bin/sh
# The Windows release archive: one folder named after the version holding palisade.exe (a 64-bit
# Windows program, stripped, whose version block carries the version) and the README with Windows
# line ends. Usage: archive-test.sh ARCHIVE VERSION
set -u
ARCHIVE="$1"
VERSION="$2"
[ -f "$ARCHIVE" ] || { echo "no archive at $ARCHIVE: make package makes it"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

. "$(dirname "$0")/../../support/checks.sh"

folder="palisade-$VERSION-windows-x64"
unzip -Z1 "$ARCHIVE" | sort >"$WORK/entries"
printf "%s\n" "$folder/README.txt" "$folder/palisade.exe" | sort >"$WORK/expected"
check "the archive holds exactly $folder/ with palisade.exe and README.txt" \
    diff -u "$WORK/expected" "$WORK/entries"
unzip -q "$ARCHIVE" -d "$WORK" || { echo "the archive cannot be unpacked"; exit 1; }
exe="$WORK/$folder/palisade.exe"

windows_program() { file -b "$1" | grep -q '^PE32+ executable (GUI) x86-64'; }
check "palisade.exe is a 64-bit Windows program with a window" windows_program "$exe"
no_symbols() { ! x86_64-w64-mingw32-objdump -h "$1" | grep -q '\.debug_\|\.symtab'; }
check "palisade.exe is stripped" no_symbols "$exe"
# The archive carries no DLL: a MinGW runtime one (libstdc++, libgcc, winpthread) would be missing
# on a machine without MinGW, and the program would not start there.
runtime_dlls() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | grep -i '^lib'; }
check "palisade.exe needs only Windows's own DLLs" [ -z "$(runtime_dlls "$exe")" ]
# The version block's texts are UTF-16: strings reads them as 16-bit little-endian.
version_text() { strings -e l "$exe" | grep -A1 -x "$1" | sed -n 2p; }
check "its file version is $VERSION.0" [ "$(version_text FileVersion)" = "$VERSION.0" ]
check "its product version is $VERSION.0" [ "$(version_text ProductVersion)" = "$VERSION.0" ]
# The numbers Windows shows and compares are in the fixed part, after its signature 0xFEEF04BD: two
# 32-bit halves each for the file and the product version, each half two 16-bit parts, low first.
fixed_versions() {
    at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$exe" | head -1 | cut -d: -f1)
    [ -n "$at" ] && od -A n -t u2 -j $((at + 8)) -N 16 "$exe" |
        awk '{ print $2 "." $1 "." $4 "." $3, $6 "." $5 "." $8 "." $7 }'
}
check "... and so are the numbers of its file and product version" \
    [ "$(fixed_versions)" = "$VERSION.0 $VERSION.0" ]

readme="$WORK/$folder/README.txt"
windows_lines() { grep -c "$(printf '\r')\$" "$readme"; }
check "the README is there" [ -s "$readme" ]
check "... written for Windows users" grep -q 'Run as administrator' "$readme"
check "... and ends every line as Windows does" [ "$(windows_lines)" -eq "$(wc -l <"$readme")" ]

[ "$failures" -eq 0 ]
