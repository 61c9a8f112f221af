#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks that every installed file of a
# desktop application is there.
set -euo pipefail
build_dir=$1
app_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

expected=(
    bin/cvplot
    share/applications/$app_id.desktop
    share/metainfo/$app_id.metainfo.xml
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/icons/hicolor/16x16/apps/$app_id.png
    share/icons/hicolor/32x32/apps/$app_id.png
    share/icons/hicolor/48x48/apps/$app_id.png
)
status=0
for f in "${expected[@]}"; do
    if [[ ! -s "$prefix/$f" ]]; then
        echo "missing: $f"
        status=1
    fi
done
[[ -x "$prefix/bin/cvplot" ]] || { echo "bin/cvplot is not executable"; status=1; }
# The desktop entry names the installed program and icon.
grep -qx "Exec=cvplot" "$prefix/share/applications/$app_id.desktop" || { echo "Exec mismatch"; status=1; }
grep -qx "Icon=$app_id" "$prefix/share/applications/$app_id.desktop" || { echo "Icon mismatch"; status=1; }
grep -q "<id>$app_id</id>" "$prefix/share/metainfo/$app_id.metainfo.xml" || { echo "metainfo id mismatch"; status=1; }
# The 32 px icon really is 32 x 32.
size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/32x32/apps/$app_id.png" | tr -s ' ')
[[ "$size" == " 0 0 0 32 0 0 0 32" ]] || { echo "32x32 icon has the wrong size:$size"; status=1; }
[[ $status -eq 0 ]] && echo "installed files complete"
exit $status
