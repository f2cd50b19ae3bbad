#!/usr/bin/env bash
# Installs what is missing, builds, runs the lint and every test; non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
tools/build.sh
tools/lint.sh || { echo "test: step 'lint' failed" >&2; exit 1; }
tools/run-tests.sh || { echo "test: step 'tests' failed" >&2; exit 1; }
