#!/usr/bin/env bash
# Runs the fuzz driver under Wine, in the prefix of the tests, with Xvfb when there is no
# display; the arguments go to the driver (its --help lists them). The output folder is
# build/fuzz unless --out names another.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
export HOME="${HOME:-$root/build/home}"
. tools/wine-env.sh
driver=build/tests/fuzz/fuzz_readers.exe
[ -x "$driver" ] || { echo "fuzz: build first (tools/build.sh)" >&2; exit 2; }
trap stop_xvfb EXIT
start_xvfb_if_needed
prepare_wine_prefix "$root/build/wineprefix"
"$driver" --out build/fuzz "$@"
