#!/usr/bin/env bash
# Installs what building, running and testing the calculator needs on Debian 12, and nothing
# when it is all there already. Run as root or as a user with sudo.
set -euo pipefail

# The one list of packages the project uses.
packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    # the window's typeface: Liberation Sans has the metrics of the classic Windows sans serif
    fonts-liberation
    # tests
    libgtest-dev locales
    xvfb xauth xdotool x11-utils imagemagick
    desktop-file-utils appstream binutils-mingw-w64-x86-64
    # hardening and measurement
    clang libclang-rt-14-dev clang-tidy cppcheck libbenchmark-dev
    # start-up measured against a peer Qt calculator, on a display with a session bus
    speedcrunch libxcb1-dev dbus
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, to prove the figures never follow the desktop's number format.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen
fi
