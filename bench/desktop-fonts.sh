#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares the font set of a desktop (Noto core and CJK, Liberation, DejaVu extra,
# VL Gothic, beside the fonts installed) for the start-up benchmark, without installing
# it: the packages are downloaded and unpacked into a cache outside the tree, and a
# fontconfig file that adds them to the system's fonts is written there. Prints that
# file's path, for FONTCONFIG_FILE. Benchmarks only; the tests never see these fonts.
set -euo pipefail
cache=${CVPLOT_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cvplot-bench}/desktop-fonts
packages=(fonts-noto-core fonts-noto-cjk fonts-liberation2 fonts-dejavu-extra fonts-vlgothic)
conf=$cache/fonts.conf
if [[ ! -f $conf ]]; then
    mkdir -p "$cache/debs" "$cache/root"
    (cd "$cache/debs" && apt-get download "${packages[@]}" >/dev/null 2>&1) || {
        echo "desktop-fonts: cannot download ${packages[*]}" >&2
        exit 1
    }
    for deb in "$cache"/debs/*.deb; do
        dpkg-deb -x "$deb" "$cache/root"
    done
    cat >"$conf.new" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$cache/root/usr/share/fonts</dir>
  <include ignore_missing="yes">$cache/root/etc/fonts/conf.d</include>
  <cachedir>$cache/fontconfig</cachedir>
</fontconfig>
CONF
    mv "$conf.new" "$conf"
    FONTCONFIG_FILE=$conf fc-cache >/dev/null 2>&1 || true
fi
echo "$conf"
