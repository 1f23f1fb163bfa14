#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1, with extra cmake
# options after it). The compiler output goes to <folder>/build.log and is shown
# only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
mkdir -p "$dir"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log"; exit 1; }
fi
cmake --build "$dir" -j"$(nproc)" >"$dir/build.log" 2>&1 || { grep -v '^\[' "$dir/build.log" | tail -n 120; exit 1; }
