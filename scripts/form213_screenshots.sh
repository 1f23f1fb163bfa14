#!/usr/bin/env bash
# Builds the Form213 screenshot helper and grabs the coordinate conversion window into
# screenshots/ (as it opens, after two conversions, enlarged), and at twice the scale
# into screenshots/x2_*.png.
# Usage: scripts/form213_screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" --target hc_form213_screenshots -j2 >/dev/null
mkdir -p screenshots
QT_QPA_PLATFORM=offscreen "$dir/tests/survey/windows/hc_form213_screenshots" screenshots
QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=offscreen "$dir/tests/survey/windows/hc_form213_screenshots" screenshots x2_
