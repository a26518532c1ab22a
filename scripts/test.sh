#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test of the calculator: static analysis,
# the suite under AddressSanitizer and UBSan, a bounded fuzz run, the Windows program under
# wine, the release program's hardening, and last the whole suite of the Linux debug build
# (ending with CTest's summary).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh test

cmake --preset debug
cmake --build --preset debug
bash scripts/check.sh

# The Windows program, cross-built: its tests and its real window run under wine, and the
# portable zip is packed. Wine's server outlives the programs it ran; end it, so nothing of
# this stage is left running.
cmake --preset windows
cmake --build --preset windows
status=0
ctest --preset windows || status=$?
WINEPREFIX=$PWD/build/windows/wineprefix timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
[ "$status" -eq 0 ]
(cd build/windows && cpack -G ZIP)

# The program scripts/run.sh builds, with the protections a Debian package would have; then
# its portable archive, unpacked and run with the system's Qt hidden, on X11 and on Wayland.
cmake --preset release
cmake --build --preset release
bash tests/hardening/checksec.sh build/release/bin/pelagrin
(cd build/release && cpack -G TGZ)
bash tests/package/portable_test.sh build/release/Pelagrin-*-linux-*.tar.gz \
    build/release/system-libraries.txt
bash tests/package/wayland_test.sh build/release/Pelagrin-*-linux-*.tar.gz \
    build/release/system-libraries.txt

ctest --preset debug
