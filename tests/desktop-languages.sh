#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window is the same, pixel for pixel, on a desktop in English (C.UTF-8) and on a
# Japanese one: at start, after 例入力 and 計算, and with the widest numbers. Each run
# starts the program as a desktop session would, under a real X server, with a clean
# environment: LANG set and no other locale variable.
#   desktop-languages.sh WINDOW_STATES LOCALE_DIR OUT_DIR
set -euo pipefail
program=$1
locales=$2
out=$3
rm -rf "$out"
mkdir -p "$out"

run() { # LANG
    local keep=()
    # The sanitizer build's settings, where given, reach the program too.
    for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
        [[ -n "${!v:-}" ]] && keep+=("$v=${!v}")
    done
    env -i PATH="/usr/bin:/bin" HOME="${HOME:-/root}" LANG="$1" LOCPATH="$locales" \
        XDG_RUNTIME_DIR="$(mktemp -d)" QT_QPA_PLATFORM=xcb "${keep[@]}" \
        xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$out/$1"
}

run C.UTF-8
run ja_JP.UTF-8
status=0
for state in start example huge; do
    if cmp -s "$out/C.UTF-8/$state.png" "$out/ja_JP.UTF-8/$state.png"; then
        echo "$state: the same in both languages"
    else
        echo "$state: the window differs between C.UTF-8 and ja_JP.UTF-8 (see $out)"
        status=1
    fi
done
exit $status
