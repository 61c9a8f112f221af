#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/window.png: the real window under Xvfb after "例入力" and "計算", both tab
# pages side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
make -s build
out=${1:-docs/window.png}
mkdir -p "$(dirname "$out")"
XDG_RUNTIME_DIR=$(mktemp -d) QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" build/tests/screenshot "$out"
echo "wrote $out"
