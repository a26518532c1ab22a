#!/usr/bin/env bash
# Redraws docs/screenshot.png: the window after depth 100, O2 32 and Enter, rendered off
# screen (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh run
cmake --preset release
cmake --build --preset release --target pelagrin_screenshot
QT_QPA_PLATFORM=offscreen build/release/ui/qt/pelagrin_screenshot docs/screenshot.png
echo "wrote docs/screenshot.png"
