# SPDX-License-Identifier: GPL-3.0-or-later
# The everyday commands: `make run`, `make test` and `make package`. Each installs the
# Debian packages its task needs that are missing (scripts/install-deps.sh), configures
# once and rebuilds only what changed.
SHELL := /bin/bash
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
CMAKE_ARGS ?=

.PHONY: all deps deps-run deps-package configure configure-program build build-program \
	run test bench package sanitize fuzz memcheck clean \
	deps-windows windows windows-smoke windows-test windows-package

all: build

# What each task needs installed: building and running, packaging, or testing (which
# includes the other two).
deps-run:
	@bash scripts/install-deps.sh run
deps-package:
	@bash scripts/install-deps.sh package
deps:
	@bash scripts/install-deps.sh test

CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	-DCVPLOT_WARNINGS_AS_ERRORS=ON $(CMAKE_ARGS)

# Configures the program alone (no tests, no benchmarks) unless the tree exists already.
configure-program: deps-run
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	    $(CONFIGURE) -DCVPLOT_BUILD_TESTS=OFF; \
	fi

# Configures with the tests; a tree configured without them (by `make run`) gets them.
configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	    $(CONFIGURE) -DCVPLOT_BUILD_TESTS=ON; \
	elif grep -q '^CVPLOT_BUILD_TESTS:BOOL=OFF$$' $(BUILD_DIR)/CMakeCache.txt; then \
	    cmake -B $(BUILD_DIR) -DCVPLOT_BUILD_TESTS=ON; \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

build-program: configure-program
	cmake --build $(BUILD_DIR) -j$(JOBS) --target cvplot

run: build-program
	@if [ -x $(BUILD_DIR)/app/cvplot ]; then $(BUILD_DIR)/app/cvplot; \
	else echo "run: the program is not built yet; nothing to start"; fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -j$(JOBS)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=20

# Benchmarks: figures and ratios against baselines measured in the same run. The window
# benchmarks run under an Xvfb server of their own (1920x1080, 24-bit, never reset
# between clients; bench/with-xvfb.sh), the 計算 benchmark also under offscreen.
BENCH_ENV = XDG_RUNTIME_DIR=$$(mktemp -d)
BENCH_ROUNDS ?= 21
bench: build
	$(BUILD_DIR)/bench/sweep_bench --benchmark_repetitions=10 \
	    --benchmark_report_aggregates_only=true --benchmark_color=false
	@echo "start-up with the fonts installed ($$(fc-list --format '%{file}\n' | sort -u | wc -l) font files):"
	$(BENCH_ENV) bench/with-xvfb.sh $(BUILD_DIR)/bench/startup_bench $(BENCH_ROUNDS) 2>/dev/null
	@if fonts=$$(bash bench/desktop-fonts.sh); then \
	    echo "start-up with a desktop's font set ($$(FONTCONFIG_FILE=$$fonts fc-list --format '%{file}\n' | sort -u | wc -l) font files):"; \
	    $(BENCH_ENV) FONTCONFIG_FILE=$$fonts bench/with-xvfb.sh $(BUILD_DIR)/bench/startup_bench $(BENCH_ROUNDS) 2>/dev/null; \
	else echo "start-up with a desktop's font set: skipped, the fonts cannot be downloaded"; fi
	$(BENCH_ENV) QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/calculate_bench 2>/dev/null
	$(BENCH_ENV) bench/with-xvfb.sh $(BUILD_DIR)/bench/calculate_bench 2>/dev/null
	$(BENCH_ENV) QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/report_memory_bench 2>/dev/null
	$(BENCH_ENV) QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/paste_memory_bench 2>/dev/null
	$(BENCH_ENV) bench/with-xvfb.sh $(BUILD_DIR)/bench/canvas_bench 2>/dev/null

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# (No strict_string_checks: libxkbcommon hands strndup buffers that are not
# NUL-terminated, which is valid, and that option would report them.)
SANITIZE_DIR ?= build-sanitize
sanitize: deps
	@if [ ! -f $(SANITIZE_DIR)/CMakeCache.txt ]; then \
	    cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCVPLOT_SANITIZE=ON \
	        -DCVPLOT_BUILD_BENCH=OFF -DCVPLOT_WARNINGS_AS_ERRORS=ON $(CMAKE_ARGS); \
	fi
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && \
	    ASAN_OPTIONS=detect_leaks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure --no-tests=error -j$(JOBS)

# Fuzzes the text<->number conversion with libFuzzer (clang) for FUZZ_SECONDS.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@if [ ! -f $(FUZZ_DIR)/CMakeCache.txt ]; then \
	    cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	        -DCVPLOT_FUZZ=ON -DCVPLOT_WARNINGS_AS_ERRORS=ON $(CMAKE_ARGS); \
	fi
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/tests/fuzz/convert_fuzz $(FUZZ_DIR)/corpus tests/fuzz/seeds \
	    -max_total_time=$(FUZZ_SECONDS) -max_len=128 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/ 2>&1 | grep -E '^(#[0-9]+[[:space:]]+(DONE|INITED)|stat::|==|INFO: (Seed|Loaded)|SUMMARY)' ; \
	    exit $${PIPESTATUS[0]}

# valgrind memcheck over a scripted session of the real window (offscreen): every
# command, good and bad inputs. Fails on any memory error or definite leak.
memcheck: build
	XDG_RUNTIME_DIR=$$(mktemp -d) QT_QPA_PLATFORM=offscreen valgrind --error-exitcode=1 \
	    --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite \
	    --num-callers=30 $(BUILD_DIR)/tests/FormCommandsTest

# A Debian package of the program (build/cvplot_<version>_<arch>.deb).
package: deps-package build-program
	cd $(BUILD_DIR) && cpack -G DEB

# The Windows program, cross-built with MinGW-w64 against a Windows Qt built once from
# Debian's own Qt source into ~/.cache/cvplot-windows (scripts/windows-qt.sh):
# build-windows/app/cvplot.exe.
deps-windows:
	@bash scripts/install-deps.sh windows
windows: deps-windows
	bash scripts/windows-build.sh

# The Windows program under Wine on Xvfb: 例入力, 計算, a screenshot, 終了 with exit 0.
windows-smoke: windows
	bash tests/windows-smoke.sh "$$(bash scripts/windows-stage.sh)/cvplot.exe" docs/window-windows.png

# The Windows tests, cross-built and run under Wine (offscreen), then the smoke run.
windows-test: deps-windows
	WINDOWS_TESTS=ON bash scripts/windows-build.sh windows_tests
	bash tests/windows-tests.sh build-windows/tests "$$(bash scripts/windows-stage.sh)"
	$(MAKE) --no-print-directory windows-smoke

# The portable zip and the installer: build-windows/cvplot-<version>-win64.zip and
# build-windows/cvplot-<version>-win64-setup.exe.
windows-package: windows
	@stage=$$(bash scripts/windows-stage.sh) && name=$$(basename $$stage) && \
	    rm -f build-windows/$$name.zip && \
	    (cd $$(dirname $$stage) && zip -q -9 -r ../$$name.zip $$name) && \
	    cd build-windows && cpack -G NSIS >/dev/null && \
	    ls -l $$name.zip $$name-setup.exe

clean:
	rm -rf $(BUILD_DIR)
