#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Ends the real program under Xvfb with 終了 after a dismissed report, once with each
# kind of control focused: 表示 > クリア, 計算 (the empty-field report), Return on the
# report, then a click that focuses a list, a chart, a field or the button (or none,
# which leaves the focus where the report's dismissal put it), and 終了 with the mouse.
# The window then goes before its deactivation reaches it, with the control still
# focused. Every run must end with exit code 0.
set -euo pipefail
program=$1

if [[ -z "${EXIT_INSIDE_XVFB:-}" ]]; then
    export EXIT_INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$program"
fi

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$(mktemp -d)

# Waits up to ten seconds for a condition, polling.
wait_until() {
    for _ in $(seq 100); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}

# One run: the sequence above, with `focus` clicked at x y (window coordinates) before
# 終了, or nothing clicked when x is "-".
run() {
    local name=$1 x=$2 y=$3
    "$program" &
    local pid=$!
    local window=""
    wait_until 'window=$(xdotool search --onlyvisible --name "^Form1$" 2>/dev/null | head -n1); [[ -n "$window" ]]' \
        || { echo "$name: the window did not appear"; kill $pid; return 1; }
    sleep 0.5
    local menu_height=$(( $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 508 ))
    visible() { xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l; }
    click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
    local base
    base=$(visible)
    click 20 $((menu_height / 2))                                # 表示
    wait_until '[[ $(visible) -gt $base ]]' || { echo "$name: the menu did not open"; kill $pid; return 1; }
    sleep 0.2
    click 40 $((menu_height + 34))                               # クリア
    wait_until '[[ $(visible) -eq $base ]]' || { echo "$name: the menu did not close"; kill $pid; return 1; }
    click $((520 + 37)) $((menu_height + 472 + 12))              # 計算
    wait_until '[[ $(visible) -gt $base ]]' || { echo "$name: no report"; kill $pid; return 1; }
    sleep 0.3
    xdotool key Return
    wait_until '[[ $(visible) -eq $base ]]' || { echo "$name: the report stayed"; kill $pid; return 1; }
    sleep 0.3
    [[ $x == - ]] || click "$x" $((menu_height + y))
    click 60 $((menu_height / 2))                                # 終了
    wait_until '! kill -0 $pid 2>/dev/null' || { echo "$name: the program did not end"; kill $pid; return 1; }
    local status=0
    wait $pid || status=$?
    echo "$name: exit code $status"
    return $status
}

failed=0
run "focus as the report left it" - 0 || failed=1
run "first list" 530 300 || failed=1
run "second list" 700 300 || failed=1
run "chart" 200 200 || failed=1
run "field" 640 66 || failed=1
exit $failed
