#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the locales the tests run in, into the folder named (LOCPATH points the C library
# there): de_DE.UTF-8, whose decimal comma the number texts must not follow, and
# ja_JP.UTF-8, the language of the desktops the program is made for. Few machines have
# either installed; glibc's localedef makes them from the sources of Debian's `locales`.
set -euo pipefail
dir=$1
mkdir -p "$dir"
for locale in de_DE ja_JP; do
    if [[ ! -f "$dir/$locale.UTF-8/LC_CTYPE" ]]; then
        # -c: the sources' own warnings (none of which matter here) do not fail it
        localedef -c -i "$locale" -f UTF-8 "$dir/$locale.UTF-8" || true
    fi
    [[ -f "$dir/$locale.UTF-8/LC_CTYPE" ]] || { echo "could not make $locale.UTF-8" >&2; exit 1; }
done
echo "test locales in $dir: $(ls "$dir" | tr '\n' ' ')"
