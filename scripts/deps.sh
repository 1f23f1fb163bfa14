#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the windows need; quiet
# and quick when everything is there already.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n
  libgeographiclib-dev  # geodesics of the bearing tool; exact transverse Mercator in tests
  libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev
  clang libclang-rt-14-dev
  fonts-noto-cjk xvfb xauth locales
  geographiclib-tools proj-bin  # reference projections of the coordinate tests
  libeigen3-dev  # least squares of the datum transformation fits
)
# With HC_CI=1 also what CI needs to build and check the Debian package.
if [ "${HC_CI:-}" = 1 ]; then
  packages+=(dpkg-dev file lintian desktop-file-utils appstream)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
