#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build tree into a folder of its own (so that it can
# run beside the other tests), lints it and checks what it holds and depends on.
set -euo pipefail
build_dir=$1
source_dir=$2
out_dir=$3

rm -rf "$out_dir"
mkdir -p "$out_dir"
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out_dir" >"$out_dir/cpack.log" 2>&1 ||
    { cat "$out_dir/cpack.log"; exit 1; }
debs=("$out_dir"/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "expected one .deb, found: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# No error and no warning (a remark the package accepts is overridden, with its reason,
# in the overrides the package ships).
echo "--- lintian"
lintian --fail-on error,warning --show-overrides --display-info "$deb" || fail "lintian"
echo "---"

contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
app_id=io.github.cvplot.CvPlot
for f in \
    ./usr/bin/cvplot \
    ./usr/share/applications/$app_id.desktop \
    ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    ./usr/share/icons/hicolor/48x48/apps/$app_id.png \
    ./usr/share/doc/cvplot/copyright \
    ./usr/share/doc/cvplot/changelog.gz \
    ./usr/share/man/man1/cvplot.1.gz; do
    grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done
# The licence shipped is the project's.
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/cvplot/copyright |
    cmp -s - "$source_dir/packaging/copyright" || fail "the shipped copyright file differs"

# Dependencies: the Qt libraries the program links (read off the binary), the fonts the
# window maps its fonts onto, and Qt's translations where the program loads them.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
wanted=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-ipafont-gothic
    fonts-ipafont-mincho)
if grep -rqs "TranslationsPath" "$source_dir/app" "$source_dir/toolkit" "$source_dir/ui"; then
    wanted+=(qt6-translations-l10n)
fi
names=$(tr ',|' '\n\n' <<<"$depends" | sed -e 's/^ *//' -e 's/[ (].*//')
for p in "${wanted[@]}"; do
    grep -qxF "$p" <<<"$names" || fail "Depends lacks $p"
done

[[ $status -eq 0 ]] && echo "package complete"
exit $status
