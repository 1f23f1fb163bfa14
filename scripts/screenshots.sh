#!/usr/bin/env bash
# Builds the screenshot helper and grabs the calculator's windows into screenshots/,
# and at twice the scale into screenshots/x2_*.png.
# Usage: scripts/screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" --target hc_screenshots -j2 >/dev/null
mkdir -p screenshots
QT_QPA_PLATFORM=offscreen "$dir/tests/calculator/hc_screenshots" screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$dir/tests/calculator/hc_screenshots" screenshots x2_
cmake --build "$dir" --target hc_survey_screenshots -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$dir/tests/survey/windows/hc_survey_screenshots" screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$dir/tests/survey/windows/hc_survey_screenshots" screenshots x2_
