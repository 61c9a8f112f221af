#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program started where no window can be opened: it prints its own one line, in the
# user's language, and ends with exit code 1 (not Qt's abort).
set -uo pipefail
program=$1
english="cvplot: cannot open a display for the window; start the program in a graphical desktop session."
japanese="cvplot: ウィンドウを表示する画面を開けません。グラフィカルなデスクトップのセッションで起動してください。"

status=0
# name | environment | expected last line | "only": that line alone (the program did not
# try to open a window) or "tried": after Qt's own report of the display it could not open
check() {
    local name=$1 environment=$2 expected=$3 only=$4 output code
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE -u LC_ALL \
        -u LC_MESSAGES XDG_RUNTIME_DIR="${TMPDIR:-/tmp}" $environment \
        timeout 30 "$program" 2>&1)
    code=$?
    local fail=()
    [[ $code -eq 1 ]] || fail+=("exit code $code, not 1")
    [[ "$(tail -n 1 <<<"$output")" == "$expected" ]] || fail+=("last line is not the expected one")
    local lines
    lines=$(wc -l <<<"$output")
    if [[ $only == only && $lines -ne 1 ]]; then
        fail+=("more than one line")
    elif [[ $only == tried && $lines -lt 2 ]]; then
        fail+=("Qt did not try to open the display")
    fi
    if [[ ${#fail[@]} -eq 0 ]]; then
        echo "ok: $name"
    else
        echo "FAIL: $name: ${fail[*]}"
        printf '  output: %s\n' "$output"
        status=1
    fi
}

check "no display, English" "LANG=C.UTF-8" "$english" only
check "no display, Japanese" "LANG=ja_JP.UTF-8" "$japanese" only
check "no display, Japanese messages in an English locale" "LANG=C.UTF-8 LC_MESSAGES=ja_JP.UTF-8" "$japanese" only
# A display is named but no server answers: Qt says why, then the program's own line.
check "unreachable X display" "LANG=C.UTF-8 DISPLAY=:none" "$english" tried
check "unreachable Wayland display" "LANG=C.UTF-8 WAYLAND_DISPLAY=none" "$english" tried
exit $status
