#!/usr/bin/env bash
# Installs what is missing, builds and starts Tarvix (under Xvfb when there is no display).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"
BIN=${BUILD_DIR:-$ROOT/build}/app/tarvix
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BIN" "$@"
fi
exec "$BIN" "$@"
