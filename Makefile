# Front door for building, running and testing Gridlark. Each target first installs
# whatever Debian packages it needs that are missing (scripts/install-deps.sh).

PRESET ?= release
BUILD_DIR = build/$(PRESET)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps build run test test-asan bench fuzz memcheck screenshot package install clean

all: build

deps:
	@bash scripts/install-deps.sh build

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)

test: build
	@bash scripts/install-deps.sh test
	@ctest --preset $(PRESET) -j $(JOBS)

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench:
	@bash scripts/install-deps.sh build bench
	@$(MAKE) --no-print-directory build PRESET=release
	@bash bench/run-bench.sh build/release

fuzz:
	@bash scripts/install-deps.sh build fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@bash fuzz/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# The dialog with the sample puzzle loaded and solved, rendered without a display.
screenshot: build
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/app/gridlark-screenshot docs/gridlark.png samples/puzzle.txt
	@echo "wrote docs/gridlark.png"

clean:
	rm -rf build
