#!/usr/bin/env bash
# Installs what is missing, builds and starts Tarvix (under Xvfb when there is no display) in the
# program's directory, which holds the help file.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"
BIN=${BUILD_DIR:-$ROOT/build}/app/tarvix
# Tarvix opens its help file from the directory it starts in; the build puts it beside the program.
cd "$(dirname "$BIN")"
# Outside a desktop session (a bare machine, sudo) there is no runtime directory; Qt wants one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./tarvix "$@"
fi
exec ./tarvix "$@"
