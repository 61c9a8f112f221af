#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program under Xvfb, picks "表示" > "例入力", presses "計算", checks
# that the results were drawn, reads the first chart's readout through the
# accessibility tree, and ends it with "終了": the exit code must be 0.
set -euo pipefail
program=$1

if [[ -z "${E2E_INSIDE_XVFB:-}" ]]; then
    export E2E_INSIDE_XVFB=1
    # A session bus of its own, for the accessibility bus.
    exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash "$0" "$program"
fi

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$(mktemp -d)
# The program talks to assistive technology as when a screen reader runs. It joins the
# accessibility bus only once that bus is up: start it first.
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
a11y_check=$(dirname "$0")/a11y-readout.py
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)' 2>/dev/null
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=""
for _ in $(seq 50); do
    window=$(xdotool search --name '^Form1$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.2
done
[[ -n "$window" ]] || { echo "the window did not appear"; exit 1; }
sleep 0.5

# The window carries the program's icon in the sizes drawn for it.
icons=$(xprop -id "$window" _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u || true)
for size in 16 32 48; do
    grep -q "Icon ($size x $size)" <<<"$icons" || { echo "the window has no ${size}x${size} icon"; exit 1; }
done

click() { # x y in window coordinates
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}


# Counts the strongly red pixels of the window: the charts' lines are the only red.
# (tests/xwd-image.py reads the dump as its header describes it, and refuses a dump it
# cannot read.)
red_pixels() {
    xwd -silent -id "$window" | python3 "$(dirname "$0")/xwd-image.py" --count-red
}

red_pixels >/dev/null || { echo "the window dump cannot be read"; exit 1; }

menu_height=$(( $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 508 ))

visible_windows() { xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l; }

# Waits up to five seconds for a condition, polling.
wait_until() {
    for _ in $(seq 50); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}

base=$(visible_windows)
click 20 $((menu_height / 2))                      # 表示
wait_until '[[ $(visible_windows) -gt $base ]]' || { echo "the 表示 menu did not open"; exit 1; }
sleep 0.2
click 40 $((menu_height + 12))                     # 例入力
wait_until '[[ $(visible_windows) -eq $base ]]' || { echo "the 表示 menu did not close"; exit 1; }
before=$(red_pixels) # ends the run when the dump cannot be read
[[ $before -eq 0 ]] || { echo "red drawn before 計算"; exit 1; }
click $((520 + 37)) $((menu_height + 472 + 12))    # 計算
kill -0 $pid || { echo "the program ended after 計算"; exit 1; }
wait_until '[[ $(red_pixels) -gt 100 ]]' || { echo "no curve drawn after 例入力 and 計算"; exit 1; }
echo "red pixels after 計算: $(red_pixels)"
/usr/bin/python3 "$a11y_check" 2>/dev/null || { echo "the chart's readout is not in the accessibility tree"; exit 1; }
click 60 $((menu_height / 2))                      # 終了

for _ in $(seq 50); do
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
echo "exit code $status"
exit $status
