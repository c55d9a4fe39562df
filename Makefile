# Vexbane: the two commands of README.md, and the steps they are made of.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: fuzz deps build build-native build-mingw build-wine64 test test-native test-wine demo bench clean

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

build: build-native build-mingw build-wine64

test-native: build-native
	ctest --preset native

test-wine: build-wine64
	scripts/with-wine ctest --preset wine64

test: build
	@set -o pipefail; status=0; \
	$(MAKE) --no-print-directory test-native || status=1; \
	$(MAKE) --no-print-directory test-wine || status=1; \
	exit $$status

demo: build
	scripts/with-wine scripts/demo

# The core's rules natively, then the Windows benchmark under Wine (README.md: reading its table).
bench: build-native build-wine64
	cmake --build --preset native --target core_bench -j$(JOBS) && build/native/bench/core_bench
	cmake --build --preset wine64 --target win_bench -j$(JOBS)
	scripts/with-wine sh -c '"$$WINE64" build/wine64/bench/win/win_bench.exe </dev/null'

clean:
	rm -rf build dist

# Runs each fuzz target for a minute (clang's libFuzzer).
fuzz:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)
	for f in build/fuzz/core/fuzz/*_fuzz; do $$f -max_total_time=60 -max_len=4096; done
