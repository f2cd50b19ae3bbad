#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on this display in a Wine prefix
# of its own, kept between runs. Usage: ./run.sh [file]
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
tools/build.sh
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display. Start the program under a virtual one with: xvfb-run -a ./run.sh [file]" >&2
  exit 1
fi
. tools/wine-env.sh
prefix="${XDG_DATA_HOME:-$HOME/.local/share}/mosaic/wineprefix"
[ -f "$prefix/.mosaic-ready" ] ||
  echo "run: preparing the program's Wine prefix; the first start takes about 15 seconds"
prepare_wine_prefix "$prefix" \
  || { echo "run: step 'prepare Wine prefix' failed" >&2; exit 1; }
# The printer and the associations are conveniences: the program starts without them, and
# the next start tries again.
# The default printer makes a PDF of each job in the folder Documents/Mosaic of the home.
add_virtual_printer "Mosaic PDF" \
  '|d="$HOME/Documents/Mosaic"; mkdir -p "$d" && ps2pdf - "$d/Impression-$(date +%Y%m%d-%H%M%S).pdf"' \
  || echo "run: the printer 'Mosaic PDF' could not be set up: printing will not work until a later start sets it up" >&2
add_desktop_file_associations \
  || echo "run: the file associations could not be set up: files the program writes may not open in their viewer until a later start sets them up" >&2
match_window_management \
  || echo "run: the window management could not be matched to the display: the window may lack its caption" >&2
args=()
if [ $# -gt 0 ]; then
  [ -e "$1" ] || { echo "run: no such file: $1" >&2; exit 1; }
  args+=("$(winepath -w "$(realpath "$1")")")
fi
exec wine "$root/build/bin/mosaic.exe.so" "${args[@]}"
