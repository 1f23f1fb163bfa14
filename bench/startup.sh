#!/usr/bin/env bash
# Start-up time of the calculator: from launching the process to the first shown
# main window, offscreen. The program prints the milliseconds since main() and
# quits at its first show (HC_STARTUP_TIME); the wall time around the whole run
# also counts loading the libraries and quitting.
# Usage: bench/startup.sh [build folder] [runs]   (defaults: build, 11)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
runs=${2:-11}
app="$dir/calculator/hechuan"
[ -x "$app" ] || cmake --build "$dir" --target hechuan -j2 >/dev/null
export QT_QPA_PLATFORM=offscreen HC_STARTUP_TIME=1
"$app" >/dev/null 2>&1 || true  # warm the file cache
inner=()
wall=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  ms=$("$app" 2>/dev/null | tail -n 1)
  end=$(date +%s%N)
  inner+=("$ms")
  wall+=($(((end - start) / 1000000)))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
echo "runs: $runs"
echo "main() to first show, median: $(median "${inner[@]}") ms"
echo "process start to exit after first show, median: $(median "${wall[@]}") ms (goal <= 300 ms)"
