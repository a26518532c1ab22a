#!/usr/bin/env bash
# Installs what is missing, builds every preset, and runs every test of the calculator:
# static analysis, then the CTest tests of each build (`ctest -L` selects by label: unit,
# window, wine, hardening, package, fuzz):
#   asan     the suite under AddressSanitizer and UBSan
#   fuzz     the fuzzers for FUZZ_SECONDS (20) each, after replaying the corpus
#   windows  the Windows program's tests and real window under wine, its hardening and zip
#   release  the program scripts/run.sh builds: its hardening, and its portable archive on
#            X11 and on a Wayland compositor
#   debug    the whole suite of the Linux debug build, last, ending with CTest's summary
# On Debian 12, before the debug suite, scripts/test-debian13.sh runs all of this again on
# Debian 13, in a chroot it makes, and starts this release's portable folder there.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh test

for preset in debug asan fuzz windows release; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
bash scripts/check.sh

# Every build's tests run even when an earlier build's fail, so one run shows every failure.
jobs=$(nproc)
status=0
ctest --preset asan -j "$jobs" || status=1
ctest --preset fuzz -j "$jobs" || status=1
ctest --preset windows || status=1
ctest --preset release || status=1
if [ "$(. /etc/os-release && echo "$VERSION_ID")" = 12 ]; then
    bash scripts/test-debian13.sh || status=1
fi
ctest --preset debug || status=1
exit "$status"
