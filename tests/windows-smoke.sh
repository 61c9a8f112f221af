#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the Windows program under Wine on Xvfb, picks "表示" > "例入力", presses "計算",
# checks that the curve was drawn, saves a screenshot, and ends it with "終了": the
# exit code must be 0.
#   windows-smoke.sh PROGRAM.exe [SCREENSHOT.png]
# The Wine prefix is CVPLOT_WINEPREFIX (default ~/.cache/cvplot-windows/wine); its first
# start sets it up, which takes a while.
set -euo pipefail
program=$1
shot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)

if [[ -z "${SMOKE_INSIDE_XVFB:-}" ]]; then
    export SMOKE_INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

export WINEPREFIX=${CVPLOT_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/cvplot-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i >/dev/null 2>&1
wine "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT

window=""
for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.2
done
[[ -n "$window" ]] || { echo "the window did not appear"; exit 1; }
sleep 1

click() { # x y in window coordinates
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}
red_pixels() { xwd -silent -id "$window" | python3 "$here/xwd-image.py" --count-red; }

geometry=$(xdotool getwindowgeometry "$window")
echo "window: ${geometry//$'\n'/ }"
height=$(sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p' <<<"$geometry")
menu_height=$((height - 508))

before=$(red_pixels)
[[ $before -eq 0 ]] || { echo "red drawn before 計算"; exit 1; }
click 20 $((menu_height / 2))                   # 表示
click 40 $((menu_height + 12))                  # 例入力
sleep 0.5
click $((520 + 37)) $((menu_height + 472 + 12)) # 計算
red=0
for _ in $(seq 50); do
    red=$(red_pixels)
    [[ $red -gt 100 ]] && break
    sleep 0.2
done
[[ $red -gt 100 ]] || { echo "no curve drawn after 例入力 and 計算"; exit 1; }
echo "red pixels after 計算: $red"
if [[ -n "$shot" ]]; then
    xwd -silent -id "$window" | python3 "$here/xwd-image.py" --png "$shot"
    echo "wrote $shot"
fi
click 60 $((menu_height / 2))                   # 終了

for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
    echo "the program did not end after 終了"
    exit 1
fi
set +e
wait $pid
status=$?
set -e
trap - EXIT
wineserver -k 2>/dev/null || true
echo "exit code $status"
exit $status
