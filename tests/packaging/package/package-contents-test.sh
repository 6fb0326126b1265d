#!/bin/sh
# The built Debian package, unpacked into a scratch folder: exactly the expected files with their
# owners and modes, binaries stripped, the control fields and dependencies, the helper's polkit
# action, the desktop entry (desktop-file-validate), the icons it names and the changelog's version.
# Usage: package-contents-test.sh PACKAGE VERSION
set -u
PACKAGE="$1"
VERSION="$2"
[ -f "$PACKAGE" ] || { echo "no package at $PACKAGE: make package makes it"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
dpkg-deb -x "$PACKAGE" "$WORK/root" && dpkg-deb -e "$PACKAGE" "$WORK/control" ||
    { echo "the package cannot be unpacked"; exit 1; }

. "$(dirname "$0")/../../support/checks.sh"

# Every file: mode, owner and path, as the package holds them.
dpkg-deb -c "$PACKAGE" | awk '!/^d/ { sub(/^\.\//, "", $6); print $1, $2, $6 }' | sort >"$WORK/files"
policy=usr/share/polkit-1/actions/org.quillmoor.palisade.block-sites.policy
{
    printf -- '-rwxr-xr-x root/root usr/%s\n' bin/palisade libexec/palisade/palisade-helper \
        libexec/palisade/remove-block-lines
    printf -- '-rw-r--r-- root/root usr/share/%s\n' applications/palisade.desktop \
        doc/palisade/README.md doc/palisade/changelog.gz doc/palisade/copyright \
        icons/hicolor/scalable/apps/palisade.svg man/man1/palisade.1.gz "${policy#usr/share/}"
    for size in 16 24 32 48 64 128 256; do
        echo "-rw-r--r-- root/root usr/share/icons/hicolor/${size}x${size}/apps/palisade.png"
    done
} | sort >"$WORK/expected"
check "the files, their modes and owners are exactly those expected" \
    diff -u "$WORK/expected" "$WORK/files"
odd_folders() { dpkg-deb -c "$PACKAGE" | awk '/^d/ && ($1 != "drwxr-xr-x" || $2 != "root/root")'; }
check "every folder is root's, with mode 0755" [ -z "$(odd_folders)" ]
check "the file sums cover every file" \
    [ "$(wc -l <"$WORK/control/md5sums")" -eq "$(wc -l <"$WORK/expected")" ]
check "the maintainer scripts are executable" test -x "$WORK/control/postinst" -a \
    -x "$WORK/control/prerm" -a -x "$WORK/control/postrm"

stripped() { ! readelf -S "$WORK/root/$1" | grep -q '\.symtab\|\.comment'; }
hardened() { readelf -h "$WORK/root/$1" | grep -q DYN && readelf -d "$WORK/root/$1" | grep -q BIND_NOW; }
for binary in usr/bin/palisade usr/libexec/palisade/palisade-helper \
    usr/libexec/palisade/remove-block-lines; do
    check "$binary is stripped, of the compilers' notes too" stripped "$binary"
    check "$binary is position-independent, relocations read-only after start" hardened "$binary"
done

field() { sed -n "s/^$1: //p" "$WORK/control/control"; }
check "the package is palisade $VERSION" [ "$(field Package) $(field Version)" = "palisade $VERSION" ]
echo "     Depends: $(field Depends)"
missing_dependencies() {
    for name in libc6 libstdc++6 libqt6widgets6 libqt6network6 fonts-liberation pkexec; do
        field Depends | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//' | grep -qxF "$name" || echo "$name"
    done
}
check "it depends on the libraries, fonts-liberation and pkexec" [ -z "$(missing_dependencies)" ]
# The helper is all that runs as root: the window and its toolkit never do.
no_qt_in_helper() { ! readelf -d "$WORK/root/usr/libexec/palisade/palisade-helper" | grep -q libQt; }
check "the helper links no Qt" no_qt_in_helper

action='/policyconfig/action[@id="org.quillmoor.palisade.block-sites"]'
xpath() { xmllint --xpath "string($action/$1)" "$WORK/root/$policy" 2>/dev/null; }
check "the polkit action is well-formed XML" xmllint --noout "$WORK/root/$policy"
check "the polkit action runs the helper, and nothing else" \
    [ "$(xpath "annotate[@key='org.freedesktop.policykit.exec.path']")" = \
        /usr/libexec/palisade/palisade-helper ]
check "... opens no window as root" \
    [ -z "$(xpath "annotate[@key='org.freedesktop.policykit.exec.allow_gui']")" ]
check "... asks for an administrator's password, kept a while in an active session" \
    [ "$(xpath defaults/allow_any) $(xpath defaults/allow_inactive) \
$(xpath defaults/allow_active)" = "auth_admin auth_admin auth_admin_keep" ]
check "... and says what is about to happen" [ "$(xpath message)" = \
    "Authentication is needed to block or unblock sites in the hosts file" ]

entry="$WORK/root/usr/share/applications/palisade.desktop"
check "desktop-file-validate passes the desktop entry" desktop-file-validate "$entry"
key() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" "$entry"; }
check "the entry starts the program as the user" [ "$(key 'Desktop Entry' Exec)" = palisade ]
no_actions() { ! grep -q '^Actions=' "$entry"; }
check "... and only that way" no_actions
check "the entry's icon is in the hicolor theme" \
    [ -f "$WORK/root/usr/share/icons/hicolor/48x48/apps/$(key 'Desktop Entry' Icon).png" ]
# A theme picks a bitmap by its folder's size; one of another size would be drawn scaled.
wrong_sizes() {
    for png in "$WORK"/root/usr/share/icons/hicolor/*/apps/*.png; do
        size=${png%/apps/*}
        size=${size##*/}
        file -b "$png" | grep -q "^PNG image data, ${size%x*} x ${size#*x}," || echo "$png"
    done
}
check "each bitmap icon has the size of its folder" [ -z "$(wrong_sizes)" ]

changelog_version() {
    zcat "$WORK/root/usr/share/doc/palisade/changelog.gz" | sed -n '1s/^palisade (\(.*\)) .*/\1/p'
}
check "the changelog's newest entry is this version" [ "$(changelog_version)" = "$VERSION" ]

[ "$failures" -eq 0 ]
