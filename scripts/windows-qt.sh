#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for 64-bit Windows from Debian's own qt6-base source, the version the Linux
# build uses, with Debian's MinGW-w64, into a cache outside the tree; once per Qt
# version and set of options, reused from then on. Prints the installed prefix.
#   windows-qt.sh [CACHE_DIR]     (default: ~/.cache/cvplot-windows)
# The options live here and nowhere else: Core, Gui, Widgets and Test, the windows
# platform plugin and the styles, Qt's own copies of zlib, pcre2, harfbuzz, freetype,
# libpng and libjpeg; no network, SQL, D-Bus, printing, OpenGL or tablet support.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${1:-${CVPLOT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cvplot-windows}}
toolchain=$here/packaging/windows/mingw-w64-x86_64.cmake
version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || true)
[[ -n "$version" ]] || { echo "windows-qt: Debian's Qt 6 is not installed" >&2; exit 1; }

options=(
    -DCMAKE_BUILD_TYPE=Release
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(gcc -print-multiarch)/cmake
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_sql=OFF -DFEATURE_testlib=ON
    -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON
)
# The cache key: the Qt version, the options and the toolchain, nothing else.
key=$(printf '%s\n' "$version" "${options[@]}" "$(grep -v '^#' "$toolchain")" | sha256sum | cut -c1-12)
prefix=$cache/qt-$version-$key
if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
fi

src=$cache/src
mkdir -p "$src"
# Debian's source package, through a private apt setup: its own source list and lists
# folder, so the system's sources are left as they are.
apt_dir=$cache/apt
mkdir -p "$apt_dir/lists/partial"
printf '%s\n' \
    "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main" \
    >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o Debug::NoLocking=1)
upstream=${version%%-*}
tree=$src/qtbase-$version
if [[ ! -d $tree ]]; then
    apt-get "${apt_options[@]}" update -q >&2
    (cd "$src" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$version" >&2)
    dpkg-source -x "$src/qt6-base_$version.dsc" "$tree.partial" >&2
    mv "$tree.partial" "$tree"
fi

build=$cache/build-$key
rm -rf "$build"
echo "windows-qt: building Qt $upstream for Windows into $prefix (about 40 minutes)" >&2
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$cache/configure-$key.log" 2>&1 || {
    tail -40 "$cache/configure-$key.log" >&2
    exit 1
}
nice -n 10 cmake --build "$build" --parallel "${JOBS:-2}" >"$cache/build-$key.log" 2>&1 || {
    tail -40 "$cache/build-$key.log" >&2
    exit 1
}
cmake --install "$build" >/dev/null
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
