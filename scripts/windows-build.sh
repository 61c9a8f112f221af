#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures build-windows/ against the Windows Qt (scripts/windows-qt.sh) once, and
# builds the given targets (default: the program, app/cvplot.exe).
#   windows-build.sh [TARGET...]       WINDOWS_TESTS=ON also configures the tests
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${WINDOWS_BUILD_DIR:-build-windows}
qt=$(bash scripts/windows-qt.sh)
tests=${WINDOWS_TESTS:-OFF}
if [[ ! -f $dir/CMakeCache.txt ]] ||
    { [[ $tests == ON ]] && ! grep -q '^CVPLOT_BUILD_TESTS:BOOL=ON$' "$dir/CMakeCache.txt"; }; then
    # Qt's own toolchain file adds its prefix to the cross-compiler's search roots and
    # loads the project's MinGW-w64 toolchain file.
    cmake -S . -B "$dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/packaging/windows/mingw-w64-x86_64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCVPLOT_WARNINGS_AS_ERRORS=ON \
        -DCVPLOT_BUILD_TESTS="$tests" -DCVPLOT_BUILD_BENCH=OFF
fi
if [[ $# -eq 0 ]]; then set -- cvplot; fi
cmake --build "$dir" -j"${JOBS:-2}" --target "$@"
