#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file (C++, CMake, shell, Python, Designer forms, the Makefile) names its
# licence in an SPDX line within its first three lines.
set -euo pipefail
source_dir=$1
cd "$source_dir"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files)
else
    mapfile -t files < <(find . -path ./build -prune -o -path './build-*' -prune -o \
        -path ./.git -prune -o -type f -print | sed 's|^\./||')
fi

missing=0
checked=0
for f in "${files[@]}"; do
    [[ -f $f ]] || continue
    case "$f" in
    *.cpp | *.h | *.cmake | */CMakeLists.txt | CMakeLists.txt | *.sh | *.py | *.ui | Makefile) ;;
    *)
        # Scripts without an extension: by their first line.
        head -c 64 "$f" | head -n 1 | grep -qE '^#!.*(bash|sh|python)' || continue
        ;;
    esac
    checked=$((checked + 1))
    if ! head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
        echo "no SPDX line: $f"
        missing=1
    fi
done
echo "checked $checked source files"
exit $missing
