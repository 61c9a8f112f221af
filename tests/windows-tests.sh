#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the cross-built Windows tests under Wine with Qt's offscreen platform, from a copy
# of the portable folder (its DLLs, plugins and qt.conf) with the tests, Qt's test
# library and the offscreen platform plugin added.
#   windows-tests.sh TESTS_DIR STAGE_DIR [TEST...]
set -euo pipefail
tests=$(cd "$1" && pwd)
stage=$(cd "$2" && pwd)
shift 2
qt=$(bash "$(dirname "$0")/../scripts/windows-qt.sh")
export WINEPREFIX=${CVPLOT_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/cvplot-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QT_QPA_PLATFORM=offscreen
export QT_FORCE_STDERR_LOGGING=1
run=$tests/run
rm -rf "$run"
cp -r "$stage" "$run"
cp "$qt/bin/Qt6Test.dll" "$run/"
cp "$qt/plugins/platforms/qoffscreen.dll" "$run/platforms/"
if [[ $# -eq 0 ]]; then
    set -- calc_tests toolkit_tests fonts_tests FormLayoutTest FormCommandsTest ChartTest \
        ChartPictureTest
fi
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i >/dev/null 2>&1
failed=()
for name in "$@"; do
    cp "$tests/$name.exe" "$run/"
    echo "== $name"
    if ! (cd "$run" && timeout 300 wine "$name.exe" 2>&1 | tr -d '\r' |
        grep -Ev '^(it looks like wine32|multiarch needs|execute "dpkg|apt-get install wine32)'); then
        failed+=("$name")
    fi
done
wineserver -k 2>/dev/null || true
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "failed under Wine: ${failed[*]}"
    exit 1
fi
echo "all Windows tests passed under Wine"
