# Front door for building, running and testing Gridlark. Each target first installs
# whatever Debian packages it needs that are missing (scripts/install-deps.sh).

PRESET ?= release
BUILD_DIR = build/$(PRESET)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps build build-programs run dev test test-deps test-asan bench fuzz memcheck screenshot art package install clean

all: build

deps:
	@bash scripts/install-deps.sh build

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) -j $(JOBS)

# Only the two programs, so that the first run does not wait for the tests.
build-programs: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) -j $(JOBS) --target gridlark gridlark-cli

run: build-programs
	@bash scripts/run.sh $(BUILD_DIR)

# Every target with warnings as errors (CI builds this).
dev:
	@bash scripts/install-deps.sh build
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

test: test-deps build
	@ctest --preset $(PRESET) -j $(JOBS)

test-deps:
	@bash scripts/install-deps.sh test package

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

# Valgrind over the model and solver tests (and the bad-input and oracle tests):
# any invalid access or definite leak fails the target.
MEMCHECK_TESTS = model/model_tests solver/solver_tests reliability/reliability_tests
memcheck: build
	@bash scripts/install-deps.sh test
	@for t in $(MEMCHECK_TESTS); do \
	  echo "memcheck: $$t"; \
	  valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	    --show-leak-kinds=definite,indirect --child-silent-after-fork=yes \
	    $(BUILD_DIR)/tests/$$t --gtest_brief=1 || exit 1; \
	done

# The dialog with the sample puzzle loaded and solved, rendered without a display.
screenshot: build
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/app/gridlark-screenshot docs/gridlark.png samples/puzzle.txt \
	  docs/candidates.png samples/hard.txt
	@echo "wrote docs/gridlark.png and docs/candidates.png"
	@for scale in 1.5 2; do \
	  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$$scale \
	    $(BUILD_DIR)/app/gridlark-screenshot docs/gridlark-scale-$$scale.png samples/puzzle.txt || exit 1; \
	  echo "wrote docs/gridlark-scale-$$scale.png"; \
	done
# The same without Liberation Sans and the fonts that stand in for it by metrics, so
# that the dialog is laid out in the desktop's generic sans serif.
	@fonts=$$(mktemp -d) && \
	  { echo '<?xml version="1.0"?><fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>'; \
	    for family in "Liberation Sans" "Nimbus Sans" Arimo Arial Helvetica; do \
	      echo "<pattern><patelt name=\"family\"><string>$$family</string></patelt></pattern>"; done; \
	    echo '</rejectfont></selectfont></fontconfig>'; } > $$fonts/fonts.conf && \
	  FONTCONFIG_FILE=$$fonts/fonts.conf QT_QPA_PLATFORM=offscreen \
	    $(BUILD_DIR)/app/gridlark-screenshot docs/gridlark-fallback-font.png samples/puzzle.txt; \
	  status=$$?; rm -rf $$fonts; exit $$status
	@echo "wrote docs/gridlark-fallback-font.png"

# The icons and the dialog's images, drawn again from the font.
art:
	@bash scripts/install-deps.sh art
	@/usr/bin/python3 app/resources/make-art.py

# Installs the programs, desktop entry, metainfo, icons and manual pages under PREFIX.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, in the build folder.
package: build
	@bash scripts/install-deps.sh package
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf build
