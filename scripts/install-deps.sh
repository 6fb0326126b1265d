#!/usr/bin/env bash
# Installs the Debian 12 packages that a make target needs, and only those that are missing.
# Costs about a second when all are there.
#
#   install-deps.sh SET...   the packages of the named sets (and of the sets they take in)
#   install-deps.sh          every set
#
# Sets (each make target names those it needs, see the Makefile):
#   run       building and running the Linux program (make run)
#   linux     its tests' build too (make linux)
#   windows   the Windows cross build (make windows)
#   test      running every test, both programs' and the packages' (make test)
#   package   the Debian package and the Windows archive (make package)
#   bench     the benchmarks (make bench)
#   format    the formatter (make format)
#
# A new package goes into the set of the targets that need it; a new set is an array set_NAME
# below, named in `sets`, with what it takes in under `takes_in`.
set -euo pipefail

set_run=(
    cmake make g++ pkg-config qt6-base-dev
    # Qt's platform plugins, and Arial's metric-compatible stand-in
    qt6-qpa-plugins fonts-liberation
)
set_linux=(googletest libgtest-dev libgmock-dev)
set_windows=(
    # the cross compiler (posix thread model: GoogleTest needs std::thread and std::mutex), and
    # GoogleTest's sources to build with it
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix googletest
)
set_test=(
    # the Windows programs' tests run under Wine
    wine wine64
    # the real programs on a virtual display with a window manager that has a notification area
    xvfb xauth fluxbox xdotool x11-utils imagemagick desktop-file-utils
    # flock and unshare for the test scripts
    util-linux
    # the package's install test asks polkit, on a system bus of its own, to run the helper
    pkexec polkitd dbus-daemon
)
set_package=(
    # CPack's DEB generator finds binaries with file and their libraries with dpkg-shlibdeps;
    # lintian; xmllint for the polkit action; zip and unzip for the Windows archive
    file dpkg-dev lintian libxml2-utils zip unzip
    # the Windows installer: wixl makes it, msitools reads it back
    wixl msitools
)
set_bench=(libbenchmark-dev)
set_format=(clang-format)

sets=(run linux windows test package bench format)
declare -A takes_in=(
    [linux]="run"
    [test]="linux windows package"
    [package]="run windows"
    [bench]="run"
)

# How long apt waits for another apt or dpkg to let go of its lock, in seconds.
lock_timeout=600
# Between two tries of `apt-get update`, which does not wait for its lock itself.
lock_retry=${PALISADE_APT_LOCK_RETRY:-5}

declare -A wanted_sets=()
want() {
    local name="$1" inner
    if [[ ! " ${sets[*]} " == *" $name "* ]]; then
        echo "install-deps: no set \"$name\" (sets: ${sets[*]})" >&2
        exit 2
    fi
    [[ -n "${wanted_sets[$name]:-}" ]] && return
    wanted_sets[$name]=1
    for inner in ${takes_in[$name]:-}; do
        want "$inner"
    done
}
if [[ $# -eq 0 ]]; then
    set -- "${sets[@]}"
fi
for name in "$@"; do
    want "$name"
done

packages=()
for name in "${sets[@]}"; do
    [[ -n "${wanted_sets[$name]:-}" ]] || continue
    declare -n members="set_$name"
    packages+=("${members[@]}")
    unset -n members
done

# One dpkg-query for all: it names those it knows, with their state.
declare -A state=()
while read -r name status; do
    state["$name"]="$status"
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)

declare -A seen=()
missing=()
for pkg in "${packages[@]}"; do
    if [[ "${state[$pkg]:-}" != "installed" && -z "${seen[$pkg]:-}" ]]; then
        missing+=("$pkg")
        seen[$pkg]=1
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"

as_root=()
if [[ "$(id -u)" -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: not root and no sudo; install as root: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi

apt() {
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout="$lock_timeout" "$@"
}

# apt-get update does not wait for the lists' lock as the rest of apt does: while another apt
# holds it, try again for a while.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
waited=0
until apt update -q 2>"$errors"; do
    if ! grep -q "Could not get lock" "$errors" || ((waited >= lock_timeout)); then
        cat "$errors" >&2
        exit 1
    fi
    ((waited == 0)) && echo "install-deps: another apt holds its lock; waiting for it" >&2
    sleep "$lock_retry"
    waited=$((waited + lock_retry))
done
cat "$errors" >&2
apt install -y -q --no-install-recommends "${missing[@]}"
