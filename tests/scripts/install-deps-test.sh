#!/bin/sh
# scripts/install-deps.sh against a fake apt and dpkg: a set asks only for what it needs and is
# missing, apt waits for its lock (an update held off by another apt is tried again), and make
# run asks for the run set alone. Usage: install-deps-test.sh SOURCE_DIR
set -u
ROOT="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/tests/support/checks.sh"

# dpkg-query knows the packages in $WORK/installed; apt-get logs its calls, and an update fails
# on the lists' lock while $WORK/locked counts down.
mkdir "$WORK/bin"
cat >"$WORK/bin/dpkg-query" <<EOT
#!/bin/sh
shift 2; for p; do grep -qx "\$p" "$WORK/installed" && echo "\$p installed"; done; exit 0
EOT
cat >"$WORK/bin/apt-get" <<EOT
#!/bin/sh
echo "\$*" >>"$WORK/apt.log"
left=\$(cat "$WORK/locked" 2>/dev/null || echo 0)
case "\$* \$left" in *" update "*[1-9]) echo \$((left - 1)) >"$WORK/locked"
    echo "E: Could not get lock /var/lib/apt/lists/lock" >&2; exit 100 ;; esac
EOT
printf '#!/bin/sh\necho 0\n' >"$WORK/bin/id"
chmod +x "$WORK/bin/"*

deps() {
    : >"$WORK/apt.log"
    PATH="$WORK/bin:$PATH" PALISADE_APT_LOCK_RETRY=0 bash "$ROOT/scripts/install-deps.sh" "$@" \
        >"$WORK/out" 2>&1
    status=$?
    sed -n 's/.* --no-install-recommends //p' "$WORK/apt.log" | tr ' ' '\n' | sort >"$WORK/asked"
}
asked() { for p; do grep -qx -- "$p" "$WORK/asked" || return 1; done; }
none_asked() { for p; do ! grep -qx -- "$p" "$WORK/asked" || return 1; done; }

: >"$WORK/installed"
deps run
check "the run set asks for the Linux program's build and Qt" asked g++ cmake qt6-base-dev
check "... and nothing for tests, Windows or packages" none_asked wine googletest xvfb lintian
check "... with apt waiting for its lock" [ -z "$(grep -v 'DPkg::Lock::Timeout=' "$WORK/apt.log")" ]
deps test
check "the test set asks for all the rest, each once" asked wine g++-mingw-w64-x86-64-posix xvfb \
    lintian qt6-base-dev && [ -z "$(uniq -d "$WORK/asked")" ]
grep -vx -e wine -e zip "$WORK/asked" >"$WORK/installed"
echo 2 >"$WORK/locked"
deps test
check "an update held off by a lock is tried again, and only what is missing installed" \
    [ "$(grep -c ' update' "$WORK/apt.log") $(echo $(cat "$WORK/asked"))" = "3 wine zip" ]
deps nonsense
check "an unknown set is refused" [ "$status" -eq 2 ]
check "make run asks for the run set alone" \
    sh -c "make -n -C '$ROOT' run | grep -qx 'bash scripts/install-deps.sh run'"
[ "$failures" -eq 0 ]
