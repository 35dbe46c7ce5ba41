#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (build dir build-fuzz/, or $FUZZ_BUILD_DIR) and runs
# each for N seconds, J at a time, each with its corpus in fuzz/corpus/<harness> (seeded from
# fuzz/seeds/<harness> when that exists). A finding stops that harness and leaves its input as
# crash-*, leak-*, timeout-* or oom-* in the corpus folder; the script then exits non-zero.
#   fuzz/run_fuzzers.sh [seconds=60] [jobs=3] [harness...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${1:-60}
JOBS=${2:-3}
shift $(( $# > 2 ? 2 : $# ))
BUILD=${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
export CCACHE_BASEDIR=$ROOT CCACHE_NOHASHDIR=1
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIX_FUZZ=ON
fi
cmake --build "$BUILD" --target fuzz_all -j "${BUILD_JOBS:-3}"

HARNESSES=("$@")
if [ ${#HARNESSES[@]} -eq 0 ]; then
  for f in "$ROOT"/fuzz/fuzz_*.cpp; do HARNESSES+=("$(basename "$f" .cpp)"); done
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/fuzz/lsan.supp}
LOGS="$BUILD/fuzz-logs"
mkdir -p "$LOGS"

run_one() {
  local h=$1 corpus="$ROOT/fuzz/corpus/$1" seeds=()
  mkdir -p "$corpus"
  [ -d "$ROOT/fuzz/seeds/$h" ] && seeds=("$ROOT/fuzz/seeds/$h")
  (cd "$corpus" && "$BUILD/fuzz/$h" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2560 \
      -max_len=4096 -print_final_stats=1 "$corpus" "${seeds[@]}") > "$LOGS/$h.log" 2>&1
}

declare -A PIDS
for h in "${HARNESSES[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do sleep 1; done
  run_one "$h" & PIDS[$h]=$!
done
status=0
for h in "${HARNESSES[@]}"; do
  if wait "${PIDS[$h]}"; then result=ok; else result=FINDING; status=1; fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$LOGS/$h.log" | grep -o '[0-9]*$' || echo '?')
  printf '%-16s %-8s %12s executions  (log: %s)\n' "$h" "$result" "$runs" "$LOGS/$h.log"
done
exit $status
