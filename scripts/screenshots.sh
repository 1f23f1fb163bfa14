#!/usr/bin/env bash
# Builds the screenshot helper and grabs the calculator's windows into screenshots/,
# and at twice the scale into screenshots/x2_*.png: the main window, the menu and the
# help, then every window opened from the main window (tour_*.png) and from the menu
# (menu_*.png), each used once with its sample data, and every tool window used once
# (tool_*.png) and at its smallest size (smallest_*.png). (Memory: bench/window_memory.sh.)
# Usage: scripts/screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" --target hc_screenshots -j2 >/dev/null
mkdir -p screenshots
QT_QPA_PLATFORM=offscreen "$dir/tests/calculator/hc_screenshots" screenshots
# The offscreen screen is 800x600, which at twice the scale squeezes the larger windows
# to 400x300; a large virtual X screen shows them at the size a user would see.
if command -v xvfb-run >/dev/null; then
  QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 3840x2160x24" \
    "$dir/tests/calculator/hc_screenshots" screenshots x2_
else
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$dir/tests/calculator/hc_screenshots" screenshots x2_
fi
cmake --build "$dir" --target hc_survey_screenshots -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$dir/tests/survey/windows/hc_survey_screenshots" screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$dir/tests/survey/windows/hc_survey_screenshots" screenshots x2_
