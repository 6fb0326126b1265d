# Front door for building and testing Palisade; the real work is in CMakePresets.json.
#   make run    build the optimised Linux program and start it on this desktop
#   make test   build both targets and run every test (Linux natively, Windows under Wine), then
#               make the package and the archive and test them
#   make package   the Debian package, the Windows installer and archive, in build/dist

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Installs the missing Debian packages of the sets named (all of them without a name); each target
# asks for the sets it needs, so make run does not install Wine or mingw-w64.
DEPS := bash scripts/install-deps.sh
WINE_RUN := scripts/wine-run
export PALISADE_WINEPREFIX := $(CURDIR)/build/windows/wineprefix

.PHONY: all run test build linux windows test-linux test-windows test-package package deps format \
	bench clean

all: build

deps:
	@$(DEPS)

build: linux windows

# The configure step is cheap once done, and picks up new CMakeLists.txt files.
linux:
	@$(DEPS) linux
	cmake --preset linux
	cmake --build --preset linux -j$(JOBS)

windows:
	@$(DEPS) windows
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS)

# Every test run goes ahead even when one before it fails, so one report shows all failures.
test: build
	@$(DEPS) test
	@failed=""; \
	$(MAKE) --no-print-directory test-linux || failed="$$failed linux"; \
	$(MAKE) --no-print-directory test-windows || failed="$$failed windows"; \
	$(MAKE) --no-print-directory test-package || failed="$$failed package"; \
	if [ -n "$$failed" ]; then echo "make test: tests failed on:$$failed" >&2; exit 1; fi

test-linux:
	ctest --preset linux -j$(JOBS)

# One wineserver for the whole run (the prefix is made first if missing), so each
# test does not pay Wine's start-up; it is stopped whatever the outcome.
test-windows:
	@$(WINE_RUN) --start-server
	@rc=0; ctest --preset windows -j$(JOBS) || rc=$$?; \
	$(WINE_RUN) --stop-server; \
	exit $$rc

# Optimised, hardened and stripped builds of their own (build/package, build/package-windows);
# what they make goes to build/dist, named after the project's version.
package:
	@$(DEPS) package
	rm -f build/dist/palisade*
	cmake --preset package
	cmake --build --preset package -j$(JOBS) --target package
	cmake --preset package-windows
	cmake --build --preset package-windows -j$(JOBS) --target package
	@echo "make package: made" build/dist/palisade*

# The package's contents and lintian, installing and removing it in a private mount namespace,
# and the archive's contents.
test-package: package
	@$(DEPS) test
	ctest --preset package
	ctest --preset package-windows

# An optimised build of the program alone (the sanitizer build is for the tests). Blocking writes
# /etc/hosts, so it needs root: after make run, sudo build/release/src/linux/ui/palisade.
run:
	@$(DEPS) run
	cmake --preset release
	cmake --build --preset release -j$(JOBS) --target palisade
	./build/release/src/linux/ui/palisade

format:
	@$(DEPS) format
	find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r clang-format -i

bench:
	@$(DEPS) bench
	cmake --preset bench
	cmake --build --preset bench -j$(JOBS)
	@set -e; found=0; \
	for exe in $$(find build/bench/bench -maxdepth 1 -type f -executable -name '*_bench'); do \
		found=1; echo "== $$exe"; "$$exe"; \
	done; \
	if [ $$found -eq 0 ]; then echo "make bench: no benchmark programs were built" >&2; exit 1; fi
	@# The Windows build's start of blocking, under Wine (in the Windows build's prefix).
	cmake --preset bench-windows
	cmake --build --preset bench-windows -j$(JOBS) --target hosts_start_bench
	@echo "== build/bench-windows/bench/hosts_start_bench.exe (under Wine)"
	@$(WINE_RUN) build/bench-windows/bench/hosts_start_bench.exe

clean:
	-@[ -d build/windows/wineprefix ] && $(WINE_RUN) --stop-server || true
	rm -rf build
