# The two everyday commands: `make run` and `make test`. Both install whatever Debian
# packages are missing, configure once and rebuild only what changed.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
CMAKE_ARGS ?=

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	    cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	        -DCVPLOT_WARNINGS_AS_ERRORS=ON $(CMAKE_ARGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/app/cvplot ]; then $(BUILD_DIR)/app/cvplot; \
	else echo "run: the program is not built yet; nothing to start"; fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -j$(JOBS)

bench: build
	$(BUILD_DIR)/bench/sweep_bench

# A Debian package of the program (build/cvplot_<version>_<arch>.deb).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
