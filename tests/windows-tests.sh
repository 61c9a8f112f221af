#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the cross-built Windows tests under Wine with Qt's offscreen platform, each
# beside the Qt and MinGW runtime DLLs of the portable folder.
#   windows-tests.sh TESTS_DIR STAGE_DIR
set -euo pipefail
tests=$(cd "$1" && pwd)
stage=$(cd "$2" && pwd)
export WINEPREFIX=${CVPLOT_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/cvplot-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The DLLs and the offscreen platform plugin, which does not ship.
export WINEPATH="$(winepath -w "$stage")"
qt=$(bash "$(dirname "$0")/../scripts/windows-qt.sh")
export QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")" QT_QPA_PLATFORM=offscreen
wineboot -i >/dev/null 2>&1
failed=()
for name in calc_tests toolkit_tests fonts_tests FormLayoutTest FormCommandsTest ChartTest \
    ChartPictureTest; do
    echo "== $name"
    if ! (cd "$tests" && wine "$name.exe" 2>&1 | tr -d '\r' | tail -n 15); then
        failed+=("$name")
    fi
done
wineserver -k 2>/dev/null || true
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "failed under Wine: ${failed[*]}"
    exit 1
fi
echo "all Windows tests passed under Wine"
