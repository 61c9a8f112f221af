#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages one task needs, and only those that are missing. Runs as
# root, or through sudo when it must install.
#
#   install-deps.sh run      building and running the program
#   install-deps.sh package  the above, and building its Debian package
#   install-deps.sh test     all of the above, and every test, benchmark, fuzz and
#                            memcheck run (the default)
#   install-deps.sh windows  cross-building the Windows program, its Qt and its tests,
#                            running them under Wine, and packaging the zip and installer
set -euo pipefail

run_packages=(
    # build
    cmake make g++ pkg-config
    # Qt 6 Widgets, with moc and uic; Qt's Gui package looks for XKB, and says so at
    # every configure when it is missing.
    qt6-base-dev qt6-base-dev-tools libxkbcommon-dev
    # Japanese fonts the window's fonts map onto
    fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
    qt6-translations-l10n # Qt's own texts (context menus, dialogs) in Japanese
)
package_packages=(
    # cpack's Debian generator: dpkg-shlibdeps reads the dependencies off the binary,
    # and CPack needs `file` to find the binaries to read
    dpkg-dev file
)
test_packages=(
    # tests and benchmarks; an X server, input events and window dumps for the
    # end-to-end run
    libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-apps x11-utils python3
    # the end-to-end run reads the charts through the accessibility tree
    dbus-daemon at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
    # fuzzing with libFuzzer; memcheck
    clang libclang-rt-14-dev valgrind
    # the decimal-comma locale the conversion tests generate with localedef
    locales
    # validation of the desktop entry, the metadata and the Debian package
    desktop-file-utils appstream lintian
)
windows_packages=(
    # MinGW-w64 with posix threads, and ninja for the Windows Qt's build
    g++-mingw-w64-x86-64-posix ninja-build
    # Debian's qt6-base source (apt-get source, dpkg-source) and its keys
    dpkg-dev debian-archive-keyring
    # Qt's host tools (moc, rcc, uic) and its Japanese texts, shipped with the program
    qt6-base-dev-tools qt6-translations-l10n
    # GoogleTest's sources, built for Windows with the tests
    googletest
    # running the program and the tests: Wine under an X server, driven by xdotool
    wine wine64 xvfb xauth xdotool x11-apps python3
    # the portable zip and the installer
    zip nsis
)

task=${1:-test}
case "$task" in
run) packages=("${run_packages[@]}") ;;
package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
windows) packages=("${run_packages[@]}" "${windows_packages[@]}") ;;
*)
    echo "usage: $0 [run|package|test|windows]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "install-deps: installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "install-deps: these packages are missing and neither root nor sudo is available:" >&2
    echo "  ${missing[*]}" >&2
    exit 1
fi
# sudo resets the environment, so the frontend is passed through env; another apt run
# holding the lock (an unattended upgrade) is waited for rather than failed on.
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)
"${apt[@]}" update -q
"${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
