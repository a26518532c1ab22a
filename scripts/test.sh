#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test of the calculator: static analysis,
# the suite under AddressSanitizer and UBSan, a bounded fuzz run, and last the whole suite of
# the debug build (ending with CTest's summary).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh test

cmake --preset debug
cmake --build --preset debug
bash scripts/check.sh
ctest --preset debug
