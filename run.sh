#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh build
app=build/calculator/hechuan
if [ ! -x "$app" ]; then
  exec build/cli/hechuan-cli "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app" "$@"
fi
exec "$app" "$@"
