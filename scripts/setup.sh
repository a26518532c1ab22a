#!/usr/bin/env bash
# Installs what the calculator needs on Debian 12 or 13, and nothing when it is all there
# already. Every name is one both releases have (unversioned where Debian has such a name).
# Run as root or as a user with sudo.
#   setup.sh run     what building and running the calculator need (scripts/run.sh)
#   setup.sh test    that, and every tool the test command uses (scripts/test.sh)
#   setup.sh bench   that, and the peer calculator the start-up benchmark measures against
set -euo pipefail
profile=${1:-run}

# Building and running: a diver who only wants the calculator downloads no more than this.
run_packages=(
    cmake ninja-build g++ qt6-base-dev libgl-dev
    # the window on a Wayland desktop without going through Xwayland (about 4 MB), and in
    # the portable folder
    qt6-wayland
    # the window's typeface: Liberation Sans has the metrics of the classic Windows sans serif
    fonts-liberation
)
test_packages=(
    libgtest-dev locales
    # the real windows, on a display of the test's own, under any keyboard layout
    xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick
    # the desktop tests, a desktop's settings portal of their own, and the icon's pixels
    python3-pytest python3-pytest-xvfb python3-xlib python3-dbusmock python3-pil
    # a screen reader listening to the window, on an accessibility bus of the test's own
    orca python3-pyatspi at-spi2-core dbus
    # a Wayland desktop of the test's own, drawing into memory
    weston
    # the desktop entry, metainfo and Windows version record, read as a desktop reads them
    desktop-file-utils appstream
    # the Windows program, cross-built and run
    g++-mingw-w64-x86-64-posix wine wine64
    # the release program's hardening, read as Debian reads a package's; the portable archive
    checksec patchelf
    # static analysis, sanitizers, fuzzing, and the benchmarks that static analysis reads
    clang libclang-rt-dev clang-tidy cppcheck libbenchmark-dev pkg-config libxcb1-dev
)
bench_packages=(
    libbenchmark-dev pkg-config libxcb1-dev xvfb xauth
    # start-up measured against a peer Qt calculator, on the display and with the session
    # bus the tests use (tests/conftest.py); Debian 13 has no speedcrunch: the benchmark
    # then measures this calculator alone
    python3-pytest python3-pyvirtualdisplay python3-dbusmock dbus
)

case $profile in
    run) packages=("${run_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
    bench) packages=("${run_packages[@]}" "${bench_packages[@]}") ;;
    *) echo "usage: $0 [run|test|bench]" >&2; exit 2 ;;
esac

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != 'install ok installed' ]; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The peer calculator of the start-up benchmark, where this release has it (Debian 12 does,
# 13 does not).
if [ "$profile" = bench ] && ! command -v speedcrunch >/dev/null; then
    as_root apt-get update
    # The whole answer is read before it is searched: grep -q would stop at the first match
    # and, under pipefail, fail the test with apt-cache's broken pipe.
    if [[ $(apt-cache policy speedcrunch 2>/dev/null) =~ Candidate:\ [0-9] ]]; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends speedcrunch
    else
        echo "No speedcrunch in this release: the start-up benchmark measures this calculator alone."
    fi
fi

# A comma-decimal locale, to prove the figures never follow the desktop's number format.
if [ "$profile" = test ] && ! grep -qix 'de_DE\.utf-\?8' <(locale -a 2>/dev/null); then
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen
fi
