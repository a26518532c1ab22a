#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test of the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset debug
cmake --build --preset debug
ctest --preset debug
