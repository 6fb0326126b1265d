#!/bin/sh
# scripts/install-deps.sh against a fake apt and dpkg: each set asks only for what it needs and
# only for what is missing, apt waits for its lock (an update held off by another apt is tried
# again), and make run asks for the run set alone.
# Usage: install-deps-test.sh SOURCE_DIR
set -u
ROOT="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/tests/support/checks.sh"

mkdir "$WORK/bin"
# Knows the packages listed in $WORK/installed as installed.
cat >"$WORK/bin/dpkg-query" <<EOT
#!/bin/sh
shift 2
for p in "\$@"; do grep -qx "\$p" "$WORK/installed" && echo "\$p installed"; done
exit 0
EOT
# Logs each call; an update fails on the lists' lock while $WORK/locked counts down.
cat >"$WORK/bin/apt-get" <<EOT
#!/bin/sh
echo "\$*" >>"$WORK/apt.log"
case " \$* " in
*" update "*)
    left=\$(cat "$WORK/locked" 2>/dev/null || echo 0)
    if [ "\$left" -gt 0 ]; then
        echo \$((left - 1)) >"$WORK/locked"
        echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 1 (apt)" >&2
        exit 100
    fi ;;
esac
exit 0
EOT
printf '#!/bin/sh\necho 0\n' >"$WORK/bin/id"
chmod +x "$WORK/bin/"*

# Runs the script with the sets given; what it asked apt-get to install, one package a line.
deps() {
    : >"$WORK/apt.log"
    PATH="$WORK/bin:$PATH" PALISADE_APT_LOCK_RETRY=0 bash "$ROOT/scripts/install-deps.sh" "$@" \
        >"$WORK/out" 2>&1
    status=$?
    sed -n 's/.* install -y -q --no-install-recommends //p' "$WORK/apt.log" | tr ' ' '\n' |
        sort >"$WORK/asked"
    return $status
}
asked() { grep -qx "$1" "$WORK/asked"; }
none_asked() { for p in "$@"; do ! asked "$p" || return 1; done; }
all_asked() { for p in "$@"; do asked "$p" || return 1; done; }

: >"$WORK/installed"
check "the run set installs on a bare system" deps run
check "... the Linux program's build and Qt" all_asked g++ cmake qt6-base-dev qt6-qpa-plugins
check "... and nothing for tests, Windows or packages" \
    none_asked wine wine64 g++-mingw-w64-x86-64-posix googletest xvfb lintian
check "... with apt waiting for its lock" \
    sh -c "! grep -v -- '-o DPkg::Lock::Timeout=' '$WORK/apt.log' | grep -q ."

check "the test set installs" deps test
check "... everything both programs' tests and the packages need" \
    all_asked qt6-base-dev libgtest-dev g++-mingw-w64-x86-64-posix wine xvfb fluxbox lintian zip
check "... each package once" sh -c "[ -z \"\$(uniq -d '$WORK/asked')\" ]"
cp "$WORK/asked" "$WORK/installed"
check "once installed, nothing is asked for" deps test
check "... not even an update" [ ! -s "$WORK/apt.log" ]

grep -v -x -e wine -e zip "$WORK/installed" >"$WORK/some" && mv "$WORK/some" "$WORK/installed"
echo 2 >"$WORK/locked"
check "an update held off by another apt's lock is tried again" deps package test
check "... and only what is missing is installed" [ "$(tr '\n' ' ' <"$WORK/asked")" = "wine zip " ]
check "... after saying so" grep -q "waiting" "$WORK/out"
check "... three updates in all" [ "$(grep -c ' update' "$WORK/apt.log")" -eq 3 ]

deps nonsense
check "an unknown set is refused" [ $? -eq 2 ]

check "make run asks for the run set alone" \
    sh -c "make -n -C '$ROOT' run | grep -q '^bash scripts/install-deps.sh run\$'"
check "make package asks for the package set" \
    sh -c "make -n -C '$ROOT' package | grep -q '^bash scripts/install-deps.sh package\$'"

[ "$failures" -eq 0 ]
