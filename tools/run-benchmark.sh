#!/usr/bin/env bash
# Builds and runs one benchmark program under Wine, with a virtual display when there is none.
# Usage: run-benchmark.sh NAME [benchmark args]; without NAME it lists the benchmark programs.
# Fails when the program fails or when a benchmark reports an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
names=$(cd tests/benchmarks && ls ./*.cpp | sed 's|^\./||; s|\.cpp$||')
if [ $# -lt 1 ] || [ "$1" = "--list" ]; then
  echo "usage: $0 NAME [benchmark args]; NAME is one of:"
  echo "$names" | sed 's/^/  /'
  [ $# -ge 1 ] && exit 0 || exit 2
fi
name=$1; shift
echo "$names" | grep -qx "$name" || { echo "run-benchmark: no benchmark named '$name'; $0 --list names them" >&2; exit 2; }
build=${MOSAIC_BUILD_DIR:-build}
tools/build.sh
cmake --build "$build" --target "bench_$name"
. tools/wine-env.sh
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb_if_needed || { echo "run-benchmark: step 'start Xvfb' failed" >&2; exit 1; }
prepare_wine_prefix "$root/$build/wineprefix"
log=$(mktemp)
status=0
wine "$build/tests/bench_$name.exe.so" "$@" 2>&1 | tee "$log" || status=$?
# Google Benchmark exits 0 when a benchmark skips with an error.
if grep -q "ERROR OCCURRED" "$log"; then
  echo "run-benchmark: a benchmark reported an error" >&2
  status=1
fi
rm -f "$log"
exit $status
