#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The resident memory error reports keep under the X platform, driven by X input alone:
# starts the real program under Xvfb, types "abc" into the first field once, then, N
# times, clicks 計算 and presses Return on the report. Prints the program's resident
# memory at report 200 and at the end, and what each report after the 200th kept.
#
#   scripts/report-memory-x.sh build/app/cvplot [reports]      (default 1,000)
#
# With REPORT_MEMORY_WRAP set (e.g. "heaptrack -o /tmp/reports"), the program runs under
# that command; the figures are then the wrapper's and the program's together.
set -euo pipefail
program=$1
reports=${2:-1000}

if [[ -z "${REPORT_MEMORY_INSIDE_XVFB:-}" ]]; then
    export REPORT_MEMORY_INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$program" "$reports"
fi

export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$(mktemp -d)
# shellcheck disable=SC2086 # the wrapper is a command with its arguments
${REPORT_MEMORY_WRAP:-} "$program" &
launched=$!
trap 'kill $launched 2>/dev/null || true' EXIT

window=""
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
done
[[ -n "$window" ]] || { echo "the window did not appear"; exit 1; }
# The program's own process (under a wrapper, a child of it).
pid=$(xdotool getwindowpid "$window")
sleep 0.5
menu_height=$(( $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 508 ))

resident() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status"; }

xdotool mousemove --window "$window" 640 $((menu_height + 66)) click 1
sleep 0.2
xdotool type --delay 50 abc
sleep 0.3

at200=""
for ((i = 1; i <= reports; i++)); do
    xdotool mousemove --window "$window" 557 $((menu_height + 484)) click 1
    box=""
    for _ in $(seq 200); do
        box=$(xdotool search --onlyvisible --name '^cvplot$' 2>/dev/null | head -n1 || true)
        [[ -n "$box" ]] && break
        sleep 0.02
    done
    [[ -n "$box" ]] || { echo "report $i did not appear"; exit 1; }
    xdotool key Return
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name '^cvplot$' >/dev/null 2>&1 || break
        sleep 0.02
    done
    if xdotool search --onlyvisible --name '^cvplot$' >/dev/null 2>&1; then
        echo "report $i stayed"
        exit 1
    fi
    [[ $i -eq 200 ]] && at200=$(resident)
done
sleep 0.5
end=$(resident)
echo "resident at report 200: ${at200:-?} kB; at report $reports: $end kB"
if [[ -n "$at200" && $reports -gt 200 ]]; then
    python3 -c "print('kept per report over reports 200-%d: %.3f kB' % ($reports, ($end - $at200) / ($reports - 200)))"
fi
xdotool mousemove --window "$window" 60 $((menu_height / 2)) click 1
wait $launched || true
trap - EXIT
