#!/usr/bin/env bash
# Installs what is missing, builds the calculator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh run

cmake --preset release
cmake --build --preset release
exec build/release/bin/pelagrin
