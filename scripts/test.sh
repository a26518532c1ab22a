#!/usr/bin/env bash
# Installs what is missing, builds every preset, and runs every test of the calculator:
# static analysis, then the CTest tests of each build (`ctest -L` selects by label: unit,
# window, wine, hardening, package, fuzz):
#   asan     the suite under AddressSanitizer and UBSan
#   fuzz     the fuzzers for FUZZ_SECONDS (20) each, after replaying the corpus
#   windows  the Windows program's tests and real window under wine, its hardening and zip
#   release  the program scripts/run.sh builds: its hardening and its portable archive
#   debug    the whole suite of the Linux debug build, last, ending with CTest's summary
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh test

for preset in debug asan fuzz windows release; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
bash scripts/check.sh

jobs=$(nproc)
ctest --preset asan -j "$jobs"
ctest --preset fuzz -j "$jobs"
ctest --preset windows
ctest --preset release
ctest --preset debug
