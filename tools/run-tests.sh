#!/usr/bin/env bash
# Runs every CTest entry under Wine: a prefix of its own inside build/, Xvfb when there is
# no display, and wineserver and Xvfb stopped at the end whatever the outcome.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# ccache and Wine keep their state under the home folder; CI may run without one.
export HOME="${HOME:-$root/build/home}"
. tools/wine-env.sh
build=${MOSAIC_BUILD_DIR:-build}

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT

start_xvfb_if_needed || { echo "run-tests: step 'start Xvfb' failed" >&2; exit 1; }
prepare_wine_prefix "$root/$build/wineprefix" || { echo "run-tests: step 'prepare Wine prefix' failed" >&2; exit 1; }
# Xvfb has no window manager: a managed window would make Wine wait two seconds for the
# manager each time a window is hidden.
if [ ! -f "$WINEPREFIX/.mosaic-unmanaged" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 \
    || { echo "run-tests: step 'unmanaged windows' failed" >&2; exit 1; }
  wineserver -w
  touch "$WINEPREFIX/.mosaic-unmanaged"
fi
# A printer that writes each job to the file a test names in MOSAIC_PRINT_FILE.
add_virtual_printer "Mosaic Test Printer" '|cat > "$MOSAIC_PRINT_FILE"' \
  || { echo "run-tests: step 'virtual printer' failed" >&2; exit 1; }
# One server for the whole run, so that each test program starts quickly. Wine's background
# services start here, away from CTest's pipes: they outlive the test that would start them
# and would keep its output open, so that CTest waited forever.
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1 || { echo "run-tests: step 'start Wine services' failed" >&2; exit 1; }
# One program at a time: they share the prefix's registry, where several tests set the
# interface language.
ctest --test-dir "$build" --output-on-failure "$@"
