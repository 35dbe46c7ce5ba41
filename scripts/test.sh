#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/deps.sh"
t0=$(date +%s)
bash "$ROOT/scripts/build.sh"
t1=$(date +%s)
export QT_QPA_PLATFORM=offscreen
rc=0
ctest --test-dir "${BUILD_DIR:-$ROOT/build}" --output-on-failure -j "$(nproc)" || rc=$?
t2=$(date +%s)
echo "Build time: $((t1 - t0)) s; test time: $((t2 - t1)) s"
exit $rc
