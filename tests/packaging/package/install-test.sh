#!/bin/sh
# The package installed with dpkg as a user would, but in a private mount namespace with overlays
# over /usr, /etc and /var, so that nothing reaches the machine itself: the data folder is made
# root's; the program runs from /usr/bin on a throwaway desktop as an ordinary administrator (a
# member of the sudo group) and, through the real pkexec and polkit on a system bus of the test's
# own, has its helper block a site in the data folder's care and register for log-in; a
# reinstall keeps the site blocked; a removal that
# cannot rewrite the hosts file (a full disk) is refused and keeps the package and the file;
# removing the package while the program still runs leaves the hosts file byte for byte as it was
# before; purging takes away the data folder and the autostart entry.
# Usage: install-test.sh PACKAGE DESKTOP_SANDBOX_SCRIPT. Exits 77 where it cannot run.
set -u
PACKAGE="$1"
SANDBOX_SCRIPT="$2"

skip() {
    echo "skipped: $*"
    exit 77
}

if [ "${PALISADE_INSTALL_TEST:-}" != inside ]; then
    [ -f "$PACKAGE" ] || { echo "no package at $PACKAGE: make package makes it"; exit 1; }
    [ "$(id -u)" -eq 0 ] || skip "needs root to mount overlays and run dpkg"
    for tool in unshare dpkg Xvfb fluxbox xdotool dbus-daemon setpriv; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
    unshare -m true 2>/dev/null || skip "no private mount namespace can be made here"
    SCRATCH=$(mktemp -d /tmp/palisade-install.XXXXXX)
    PALISADE_INSTALL_TEST=inside SCRATCH="$SCRATCH" \
        unshare -m --propagation private sh "$0" "$@"
    status=$?
    # The namespace and its overlays are gone with the process; their upper folders are not.
    rm -rf "$SCRATCH"
    exit $status
fi

# Inside. A namespace of our own, not our parent's: only there may anything be mounted.
[ "$(readlink /proc/self/ns/mnt)" != "$(readlink /proc/$PPID/ns/mnt)" ] ||
    { echo "refusing to mount outside a private mount namespace" >&2; exit 1; }
for folder in usr etc var; do
    mkdir "$SCRATCH/$folder.upper" "$SCRATCH/$folder.work"
    mount -t overlay overlay \
        -o "lowerdir=/$folder,upperdir=$SCRATCH/$folder.upper,workdir=$SCRATCH/$folder.work" \
        "/$folder" 2>/dev/null || skip "no overlay can be mounted over /$folder here"
    # Nothing below may write unless the overlay is really there.
    [ "$(findmnt -n -o FSTYPE "/$folder")" = overlay ] ||
        { echo "/$folder is not an overlay; stopping" >&2; exit 1; }
done

. "$SANDBOX_SCRIPT"
SANDBOX="$SCRATCH"
cleanup() {
    for pid in ${PROGRAM_PID:-} ${FLUXBOX_PID:-} ${XVFB_PID:-} ${POLKITD_PID:-}; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
}
trap cleanup EXIT
trap 'exit 1' INT TERM

. "$(dirname "$0")/../../support/checks.sh"
# A step the rest depends on.
need() {
    check "$@" || {
        for log in dpkg.log program.log polkitd.log; do
            [ -s "$SCRATCH/$log" ] && { echo "--- $log"; cat "$SCRATCH/$log"; }
        done
        [ -n "${DISPLAY:-}" ] && import -window root /tmp/palisade-install-failure.png 2>/dev/null &&
            echo "--- the desktop then: /tmp/palisade-install-failure.png"
        exit 1
    }
}

# The hosts file as a user might have it: tabs, a comment, a blank line, a Windows line end, a line
# that only looks like ours (one space more), and no line end at the very end.
printf '%s\n' '127.0.0.1	localhost' '::1	localhost ip6-localhost ip6-loopback' \
    '# kept as it is' '127.0.0.1           aligned.with.one.space.more' '' >"$SCRATCH/hosts.original"
printf '192.0.2.7 printer.lan\r\n10.0.0.1 no.line.end.after.this' >>"$SCRATCH/hosts.original"
cp "$SCRATCH/hosts.original" /etc/hosts

SITE=blocked.palisade.test
TITLE="Palisade Software"
DATA_FOLDER="/var/lib/Quillmoor/Palisade Software"
AUTOSTART_ENTRY=/etc/xdg/autostart/palisade.desktop
PROGRAM=/usr/bin/palisade
mkdir -p "$SCRATCH/home" "$SCRATCH/run"
chmod 700 "$SCRATCH/run"
export HOME="$SCRATCH/home" XDG_RUNTIME_DIR="$SCRATCH/run" XDG_CONFIG_HOME="$SCRATCH/home/.config"
export XDG_DATA_HOME="$SCRATCH/home/.local/share" XDG_CACHE_HOME="$SCRATCH/home/.cache"
export DEBIAN_FRONTEND=noninteractive
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SUDO_UID PKEXEC_UID

# dpkg is told to go ahead where a dependency is missing on this machine.
dpkg_run() { dpkg --force-depends "$@" >>"$SCRATCH/dpkg.log" 2>&1; }
block_lines() { grep -c "^127\.0\.0\.1          $SITE\$" /etc/hosts; }
hosts_as_before() { cmp -s /etc/hosts "$SCRATCH/hosts.original"; }
owner_and_mode() { stat -c '%U:%G %a' "$1"; }
installed() { [ "$(dpkg-query -W -f='${Status}' palisade 2>/dev/null)" = "install ok installed" ]; }
forgotten() { ! dpkg-query -W palisade >/dev/null 2>&1; }
ended_well() { program_ended 15 && [ "$PROGRAM_STATUS" -eq 0 ]; }

need "dpkg installs the package" dpkg_run -i "$PACKAGE"
check "... and counts it installed" installed
need "the program is in /usr/bin" [ -x "$PROGRAM" ]
check "the data folder is made, root's with mode 0755" \
    [ "$(owner_and_mode "$DATA_FOLDER")" = "root:root 755" ]

# polkit as a desktop has it, on a system bus of the test's own: the package's action, and a rule
# that grants it to the test's administrator as a password once typed would. pkexec, polkitd and
# the bus daemon are those of this machine.
[ -x /usr/bin/pkexec ] && [ -x /usr/lib/polkit-1/polkitd ] || skip "pkexec or polkitd is missing"
ACTION=org.quillmoor.palisade.block-sites
HELPER=/usr/libexec/palisade/palisade-helper
mkdir -p /run/dbus /etc/polkit-1/rules.d && mount -t tmpfs tmpfs /run/dbus ||
    skip "no scratch /run/dbus can be mounted here"
cat >/etc/polkit-1/rules.d/50-palisade-test.rules <<EOT
polkit.addRule(function(action, subject) {
    if (action.id == "$ACTION" && subject.user == "nobody")
        return polkit.Result.YES;
});
EOT
# nobody is the ordinary user the program runs as, an administrator by the sudo group.
awk -F: -v OFS=: '$1 == "sudo" { $4 = $4 == "" ? "nobody" : $4 ",nobody" } 1' /etc/group \
    >"$SCRATCH/group" && cat "$SCRATCH/group" >/etc/group
polkit_ready() {
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.PolicyKit1 2>/dev/null |
        grep -q 'boolean true'
}
need "a system bus starts" dbus-daemon --system --fork
/usr/lib/polkit-1/polkitd --no-debug >"$SCRATCH/polkitd.log" 2>&1 &
POLKITD_PID=$!
need "polkit starts and reads the package's action" wait_until 10 polkit_ready
as_user() {
    uid=$1
    shift
    setpriv --reuid "$uid" --regid "$uid" --clear-groups "$@"
}
pkexec_status() { as_user 1 /usr/bin/pkexec "$HELPER" stop close </dev/null >/dev/null 2>&1; echo $?; }
check "pkexec refuses the helper to a user the rule leaves out, with no agent to ask (127)" \
    [ "$(pkexec_status)" -eq 127 ]

need "a desktop starts" desktop_start
# The program as nobody with the groups /etc/group gives it, the sudo group among them.
mkdir -p "$SCRATCH/user-home" "$SCRATCH/user-run"
chown 65534:65534 "$SCRATCH/user-home" "$SCRATCH/user-run"
chmod 700 "$SCRATCH/user-run"
chmod 711 "$SCRATCH"
setpriv --reuid 65534 --regid 65534 --init-groups env HOME="$SCRATCH/user-home" \
    XDG_CONFIG_HOME="$SCRATCH/user-home/.config" XDG_RUNTIME_DIR="$SCRATCH/user-run" \
    "$PROGRAM" >>"$SCRATCH/program.log" 2>&1 &
PROGRAM_PID=$!
need "the program from /usr/bin opens its window" wait_until 15 window_shown "$TITLE"
check "... as nobody, not as root" [ "$(stat -c %U "/proc/$PROGRAM_PID")" = nobody ]
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 window_shown Palisade
type_into Palisade "$SITE"
click_in "$TITLE" 31 366 # "Load this software at desktop login"
click_in "$TITLE" 268 409 # "Start Blocking"
need "blocking hides the window" wait_until 10 window_gone "$TITLE"
need "the site is blocked" [ "$(block_lines)" -eq 1 ]
check "the program's helper keeps the snapshot in the data folder, root's" \
    cmp -s "$DATA_FOLDER/hosts" "$SCRATCH/hosts.original"
check "... mode 0644 at most" [ "$(owner_and_mode "$DATA_FOLDER/hosts")" = "root:root 644" ]
check "the program registers for log-in in $AUTOSTART_ENTRY" \
    grep -qx "TryExec=$PROGRAM" "$AUTOSTART_ENTRY"

check "installing the package again (an upgrade) goes well" dpkg_run -i "$PACKAGE"
check "... and keeps the site blocked" [ "$(block_lines)" -eq 1 ]

# A removal that cannot take the lines out stops and keeps the package, so that the program is
# still there to unblock; the hosts file keeps every byte. Here the hosts file is on a full disk.
full="$SCRATCH/full"
mkdir "$full" && mount -t tmpfs -o size=64k tmpfs "$full" && cp /etc/hosts "$full/hosts" &&
    mv /etc/hosts "$SCRATCH/hosts.blocked" && ln -s "$full/hosts" /etc/hosts
dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null
untouched() { cmp -s "$full/hosts" "$SCRATCH/hosts.blocked" && [ "$(ls -A "$full" | xargs)" = "filler hosts" ]; }
still_installed() { dpkg-query -W -f='${Status}' palisade | grep -q ' ok installed$'; }
refused() { ! dpkg_run "$@"; }
check "dpkg does not remove the package when the hosts file cannot be rewritten" \
    refused -r palisade
check "... keeps it installed" still_installed
check "... with the program in /usr/bin" [ -x "$PROGRAM" ]
check "... and leaves the hosts file as it was, with nothing beside it" untouched
rm /etc/hosts && mv "$SCRATCH/hosts.blocked" /etc/hosts && umount "$full"

check "dpkg removes the package while the program runs and blocks" dpkg_run -r palisade
check "... leaving the hosts file byte for byte as it was" hosts_as_before
check "... with no block line" [ "$(block_lines)" -eq 0 ]
check "... and no program in /usr/bin" [ ! -e "$PROGRAM" ]
check "... but the data folder until a purge" [ -d "$DATA_FOLDER" ]
kill -TERM "$PROGRAM_PID"
check "the program, ended afterwards, ends well" ended_well
check "... and leaves the hosts file as it was" hosts_as_before

check "dpkg purges the package" dpkg_run -P palisade
check "... and forgets it" forgotten
check "... the data folder is gone" [ ! -e "$DATA_FOLDER" ]
check "... the vendor's folder too" [ ! -e "${DATA_FOLDER%/*}" ]
check "... and the autostart entry" [ ! -e "$AUTOSTART_ENTRY" ]
check "... and the hosts file is still as it was" hosts_as_before

echo "--- dpkg said"
cat "$SCRATCH/dpkg.log"
[ "$failures" -eq 0 ]
