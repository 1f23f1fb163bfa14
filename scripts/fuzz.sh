#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz with clang and runs each for N seconds (default
# 30), two at a time. Target <name>_fuzz starts from its seeds in fuzz/seeds/<name>
# (the formula fuzzer from fuzz/corpus) with the dictionary fuzz/<name>.dict; the
# inputs it finds go to build-fuzz/corpus/<name>, failing inputs to build-fuzz/crashes.
# HC_WERROR=1 in the environment (CI) makes compiler warnings errors.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(expr gk points stats logic values)
werror=OFF
[ "${HC_WERROR:-0}" = 1 ] && werror=ON
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  mkdir -p build-fuzz
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHC_FUZZ=ON -DHC_GUI=OFF -DHC_TESTS=OFF -DHC_BENCH=OFF -DHC_WERROR=$werror \
    "${launcher[@]}" >build-fuzz/configure.log
elif ! grep -qx "HC_WERROR:BOOL=$werror" build-fuzz/CMakeCache.txt; then
  cmake -S . -B build-fuzz -DHC_WERROR=$werror >build-fuzz/configure.log
fi
cmake --build build-fuzz --target "${targets[@]/%/_fuzz}" -j"$(nproc)" >build-fuzz/build.log 2>&1 ||
  { grep -v '^\[' build-fuzz/build.log | tail -n 80; exit 1; }
mkdir -p build-fuzz/crashes

run_one() {
  local name=$1 seeds=fuzz/seeds/$1 dict=()
  [ "$name" = expr ] && seeds=fuzz/corpus
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  mkdir -p "build-fuzz/corpus/$name"
  "build-fuzz/fuzz/${name}_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="build-fuzz/crashes/$name-" -print_final_stats=1 \
    "${dict[@]}" "build-fuzz/corpus/$name" "$seeds" >"build-fuzz/$name.log" 2>&1
}

failed=()
pids=()
names=()
for name in "${targets[@]}"; do
  run_one "$name" &
  pids+=($!)
  names+=("$name")
  if [ ${#pids[@]} -ge 2 ]; then
    wait "${pids[0]}" || failed+=("${names[0]}")
    pids=("${pids[@]:1}")
    names=("${names[@]:1}")
  fi
done
for i in "${!pids[@]}"; do wait "${pids[$i]}" || failed+=("${names[$i]}"); done

for name in "${targets[@]}"; do
  printf '%-8s ' "$name"
  grep -E '^stat::number_of_executed_units' "build-fuzz/$name.log" | tr '\n' ' ' || true
  echo
done
if [ ${#failed[@]} -gt 0 ]; then
  for name in "${failed[@]}"; do
    echo "== $name failed"
    tail -n 60 "build-fuzz/$name.log"
  done
  echo "fuzz: failing inputs are in build-fuzz/crashes/"
  exit 1
fi
