#!/usr/bin/env bash
# Builds and runs one benchmark program under Wine. Usage: run-benchmark.sh NAME [args]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ $# -ge 1 ] || { echo "usage: $0 NAME [benchmark args]" >&2; exit 2; }
name=$1; shift
build=${MOSAIC_BUILD_DIR:-build}
cmake --build "$build" --target "bench_$name"
. tools/wine-env.sh
prepare_wine_prefix "$root/$build/wineprefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine "$build/tests/bench_$name.exe.so" "$@"
