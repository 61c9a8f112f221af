#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lays out the portable Windows program in build-windows/stage/cvplot-<version>-win64/:
# cvplot.exe, the Qt and MinGW runtime DLLs it loads, the windows platform plugin, the
# Windows style, Qt's Japanese texts, qt.conf, LICENSE and README.txt; all stripped.
# Prints the folder.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${WINDOWS_BUILD_DIR:-build-windows}
qt=$(bash scripts/windows-qt.sh)
version=$(sed -n 's/^project(cvplot VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$dir/stage/cvplot-$version-win64
rm -rf "$out"
mkdir -p "$out/platforms" "$out/styles" "$out/translations"
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$dir/app/cvplot.exe" "$out/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "$out/"
cp "$gcc_dir"/lib{gcc_s_seh-1,stdc++-6}.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$out/"
cp "$qt/plugins/platforms/qwindows.dll" "$out/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$out/styles/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$out/translations/"
# Qt looks for its plugins and texts beside the program, not in the build's prefix.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$out/qt.conf"
cp LICENSE "$out/LICENSE.txt"
sed 's/$/\r/' packaging/windows/README.txt >"$out/README.txt"
find "$out" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
echo "$out"
