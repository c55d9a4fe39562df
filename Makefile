# Vexbane: the two commands of README.md, and the steps they are made of.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: fuzz screenshots deps build build-native build-mingw build-wine64 build-wine32 test test-native test-wine test-wine32 demo bench clean

deps:
	@scripts/install-deps

build-native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

# The shipped 32-bit binaries, copied flat into dist/.
build-mingw: deps
	cmake --preset mingw >/dev/null
	cmake --build --preset mingw -j$(JOBS)

# The same sources as 64-bit binaries with their suites, for wine64.
build-wine64: deps
	cmake --preset wine64 >/dev/null
	cmake --build --preset wine64 -j$(JOBS)

# The same suites as i686 binaries, for 32-bit Wine. Cross-compiling needs no 32-bit kernel, so
# this tree is built on every machine: a compile error of the i686 build shows everywhere.
build-wine32: deps
	cmake --preset wine32 >/dev/null
	cmake --build --preset wine32 -j$(JOBS)

build: build-native build-mingw build-wine64

test-native: build-native
	ctest --preset native

# Every Windows suite under Wine's default version; the version-dependent ones again as win98 and nt40.
test-wine: build-wine64
	scripts/with-wine ctest --preset wine64

# The i686 suites run where this machine starts 32-bit programs and has 32-bit Wine.
test-wine32: build-wine32
	@if ! scripts/can-run-i386; then \
	  echo "test-wine32: this machine cannot start 32-bit programs; the i686 suites were built, and only the 64-bit build of the same sources was exercised under Wine."; \
	elif [ ! -x /usr/lib/wine/wine ]; then \
	  echo "test-wine32: 32-bit Wine is not installed (scripts/install-deps could not get it); the i686 suites were built, and only the 64-bit build of the same sources was exercised under Wine."; \
	else \
	  scripts/with-wine ctest --preset wine32; \
	fi

test: build build-wine32
	@set -o pipefail; status=0; \
	$(MAKE) --no-print-directory test-native || status=1; \
	$(MAKE) --no-print-directory test-wine || status=1; \
	$(MAKE) --no-print-directory test-wine32 || status=1; \
	exit $$status

demo: build
	scripts/with-wine scripts/demo

# The README's pictures of the tray menu and the tool windows, taken under Xvfb into docs/.
screenshots: build
	scripts/with-wine scripts/screenshots
	scripts/with-wine scripts/setup-screenshots

# The core's rules natively, then the Windows benchmark under Wine (README.md: reading its table).
bench: build-native build-wine64
	cmake --build --preset native --target core_bench -j$(JOBS) && build/native/bench/core_bench
	cmake --build --preset wine64 --target win_bench -j$(JOBS)
	scripts/with-wine sh -c '"$$WINE64" build/wine64/bench/win/win_bench.exe </dev/null'

clean:
	rm -rf build dist

# Runs every fuzz target for FUZZ_SECONDS each (a minute by default; clang's libFuzzer).
fuzz:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)
	for f in build/fuzz/core/fuzz/*_fuzz; do $$f -max_total_time=$(FUZZ_SECONDS) -max_len=4096 || exit 1; done
