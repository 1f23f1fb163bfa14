#!/usr/bin/env bash
# Builds the screenshot helper of the statistics, angle conversion and decomposition
# windows and of the histogram and regression charts
# and grabs them into screenshots/, and at twice the scale into
# screenshots/x2_*.png.
# Usage: scripts/tools_screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" --target hc_tools_screenshots -j2 >/dev/null
mkdir -p screenshots
QT_QPA_PLATFORM=offscreen "$dir/tests/tools/windows/hc_tools_screenshots" screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$dir/tests/tools/windows/hc_tools_screenshots" screenshots x2_
