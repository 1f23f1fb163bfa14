#!/usr/bin/env bash
# Resident memory of the calculator with every tool window open, at 100 % scale
# offscreen and at 100 % and 200 % under Xvfb (where the windows' pixel buffers are
# X shared memory). Goal: at most 120 MB with the main window and every tool window open.
# Usage: bench/window_memory.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake --build "$dir" --target hc_window_memory -j2 >/dev/null
app="$dir/tests/calculator/hc_window_memory"
echo "== offscreen, 100 % (kB)"
QT_QPA_PLATFORM=offscreen "$app" 2>/dev/null
for scale in 1 2; do
  echo "== Xvfb, $((scale * 100)) % (kB)"
  QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 3840x2160x24" "$app" 2>/dev/null
done
