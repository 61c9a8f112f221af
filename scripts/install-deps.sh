#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the program need,
# and only those that are missing. Runs as root, or through sudo when it must install.
set -euo pipefail

packages=(
    # build
    cmake make g++ pkg-config
    # Qt 6 Widgets, with moc and uic
    qt6-base-dev qt6-base-dev-tools
    # Japanese fonts the window's fonts map onto
    fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
    qt6-translations-l10n # Qt's own texts (context menus, dialogs) in Japanese
    # tests and benchmarks; an X server, input events and window dumps for the
    # end-to-end run
    libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-apps python3
    # the end-to-end run reads the charts through the accessibility tree
    dbus-daemon at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
    # fuzzing with libFuzzer; memcheck
    clang libclang-rt-14-dev valgrind
    # the decimal-comma locale the conversion tests generate with localedef
    locales
    # validation of the desktop entry and metadata; dpkg-shlibdeps for the package
    desktop-file-utils appstream dpkg-dev
)

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
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
