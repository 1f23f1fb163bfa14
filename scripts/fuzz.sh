#!/usr/bin/env bash
# Builds the formula fuzzer in build-fuzz with clang and runs it for N seconds
# (default 60). New inputs go to build-fuzz/corpus; fuzz/corpus holds the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHC_FUZZ=ON -DHC_GUI=OFF -DHC_TESTS=OFF -DHC_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz --target expr_fuzz -j"$(nproc)" >build-fuzz/build.log 2>&1 ||
  { grep -v '^\[' build-fuzz/build.log | tail -n 80; exit 1; }
mkdir -p build-fuzz/corpus build-fuzz/crashes
# The fuzzer's progress lines go to build-fuzz/fuzz.log; a failure shows its end.
if ! build-fuzz/fuzz/expr_fuzz -max_total_time="$seconds" -max_len=2000 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix=build-fuzz/crashes/ -print_final_stats=1 \
  build-fuzz/corpus fuzz/corpus >build-fuzz/fuzz.log 2>&1; then
  tail -n 60 build-fuzz/fuzz.log
  echo "fuzz: failing inputs are in build-fuzz/crashes/"
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' build-fuzz/fuzz.log
