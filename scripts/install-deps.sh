#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Palisade
# need, and only those that are missing. Costs about a second when all are there.
set -euo pipefail

packages=(
    # native build and tests
    cmake make g++ pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    # Windows cross build (posix thread model) and running its tests
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    wine wine64
    # Linux front end (its platform plugins, and Arial's metric-compatible stand-in), and
    # running it on a virtual display
    qt6-base-dev qt6-qpa-plugins fonts-liberation
    xvfb xauth fluxbox xdotool x11-utils imagemagick desktop-file-utils
    # tools: formatting; flock and unshare for the test scripts
    clang-format util-linux
    # make package and its tests: CPack's DEB generator finds binaries with file and their
    # libraries with dpkg-shlibdeps; lintian; xmllint for the polkit action; zip and unzip for the
    # Windows archive; xhost, a dependency of the package, so that installing it in the test
    # lacks only pkexec
    file dpkg-dev lintian libxml2-utils zip unzip x11-xserver-utils
    # the Windows installer: wixl makes it, msitools reads it back
    wixl msitools
)

# One dpkg-query for all: it names those it knows, with their state.
declare -A state=()
while read -r name status; do
    state["$name"]="$status"
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)

missing=()
for pkg in "${packages[@]}"; do
    if [[ "${state[$pkg]:-}" != "installed" ]]; then
        missing+=("$pkg")
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

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
