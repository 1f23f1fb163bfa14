#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1, with extra cmake
# options after it). The compiler output goes to <folder>/build.log and is shown
# only when the build fails. HC_WERROR=1 in the environment (CI) makes warnings errors;
# without it they stay warnings, so that a newer compiler's new warning does not stop a
# user's build.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
werror=OFF
[ "${HC_WERROR:-0}" = 1 ] && werror=ON
mkdir -p "$dir"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHC_WERROR=$werror "$@" \
    >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
elif ! grep -qx "HC_WERROR:BOOL=$werror" "$dir/CMakeCache.txt"; then
  cmake -S . -B "$dir" -DHC_WERROR=$werror >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log"; exit 1; }
fi
cmake --build "$dir" -j"$(nproc)" >"$dir/build.log" 2>&1 || { grep -v '^\[' "$dir/build.log" | tail -n 120; exit 1; }
