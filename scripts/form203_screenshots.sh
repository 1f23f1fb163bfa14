#!/usr/bin/env bash
# Builds the Form203 screenshot helper and grabs the base window into screenshots/,
# at the normal scale and at twice the scale (screenshots/x2/).
# Usage: scripts/form203_screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" --target hc_form203_screenshots -j2 >/dev/null
mkdir -p screenshots/x2
QT_QPA_PLATFORM=offscreen "$dir/tests/tools/windows/hc_form203_screenshots" screenshots
QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=offscreen "$dir/tests/tools/windows/hc_form203_screenshots" screenshots/x2
