#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/window.png and docs/window-ja_JP.png: the real window under Xvfb after
# "例入力" and "計算", both tab pages side by side, as an English (C.UTF-8) and as a
# Japanese desktop (ja_JP.UTF-8, LANG only) start it. The two are the same to the byte.
set -euo pipefail
cd "$(dirname "$0")/.."
make -s build
locales=build/tests/locale
bash tests/make-locales.sh "$locales" >/dev/null
shoot() { # LANG OUTPUT
    env -i PATH=/usr/bin:/bin HOME="${HOME:-/root}" LANG="$1" LOCPATH="$PWD/$locales" \
        XDG_RUNTIME_DIR="$(mktemp -d)" QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 1280x800x24" build/tests/screenshot "$2"
    echo "wrote $2"
}
shoot C.UTF-8 docs/window.png
shoot ja_JP.UTF-8 docs/window-ja_JP.png
