#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command against an X server of its own: Xvfb at a desktop's size and depth, on a
# free display it picks itself, kept alive between clients (-noreset). Without -noreset
# the server resets whenever its last client leaves, and every program started next
# waits for that reset (GLX, fonts and keymap reloaded): start-up figures would then
# time the server as much as the program. Benchmarks only (Linux).
set -euo pipefail
if [ $# -eq 0 ]; then
    echo "usage: $0 command [args...]" >&2
    exit 2
fi
SIZE=${XVFB_SCREEN:-1920x1080x24}
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "$SIZE" -noreset -nolisten tcp 3>"$displayfile" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    if ! kill -0 "$server" 2>/dev/null; then
        echo "$0: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
display=$(head -n1 "$displayfile")
if [ -z "$display" ]; then
    echo "$0: Xvfb named no display" >&2
    exit 1
fi
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
