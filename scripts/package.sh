#!/usr/bin/env bash
# Builds the Debian package: a Release build of the two programs into build-pkg/ (or the
# folder given as $1) with Debian's hardening flags, then cpack -G DEB, and prints the
# package's path. The build output goes to <folder>/build.log and CPack's to
# <folder>/cpack.log; each is shown only when its step fails. HC_WERROR=1 in the
# environment (CI) makes compiler warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-pkg}
command -v dpkg-buildflags >/dev/null ||
    { echo "dpkg-buildflags is missing: run HC_CI=1 scripts/deps.sh" >&2; exit 1; }

# Debian's hardening flags without its -g -O2: Release brings -O3 and the package is stripped.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2" dpkg-buildflags --get "$1"; }
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

werror=OFF
[ "${HC_WERROR:-0}" = 1 ] && werror=ON

mkdir -p "$dir"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DHC_TESTS=OFF -DHC_BENCH=OFF -DHC_WERROR=$werror \
    "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log"; exit 1; }
cmake --build "$dir" -j"$(nproc)" >"$dir/build.log" 2>&1 ||
    { grep -v '^\[' "$dir/build.log" | tail -n 120; exit 1; }
rm -f "$dir"/hechuan_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; exit 1; }
ls "$dir"/hechuan_*.deb
