#!/usr/bin/env bash
# Installs what is missing and builds the program and the tests into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# ccache and Wine keep their state under the home folder; CI may run without one.
export HOME="${HOME:-$root/build/home}"

step() {
  local name=$1; shift
  "$@" || { echo "build: step '$name' failed" >&2; exit 1; }
}

step "install packages" tools/install-packages.sh
step "fetch PDFHummus" tools/fetch-pdfhummus.sh
if [ ! -f build/CMakeCache.txt ] || [ ! -f build/build.ninja ]; then
  step "configure" cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
step "compile" cmake --build build
