#!/usr/bin/env bash
# The driver's own guards: each probe reader fails in one way, and the run must end with the
# exit code for it and the input saved among the findings. Usage: guards-test.sh DRIVER OUTDIR
set -uo pipefail
driver=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
status=0

expect() {
  local probe=$1 code=$2 kind=$3 text=$4
  "$driver" --readers "$probe" --seed 1 --inputs 2 --hang-seconds 2 --out "$out/$probe" \
    >"$out/$probe.log" 2>&1
  local rc=$?
  local found
  found=$(find "$out/$probe/findings/$probe" -name "$kind-*" -type f 2>/dev/null | head -n 1)
  if [ "$rc" -ne "$code" ] || [ -z "$found" ] || ! grep -q "$text" "$out/$probe.log"; then
    echo "guards-test: $probe: exit $rc (expected $code), finding '${found:-none}' of kind $kind, log:"
    cat "$out/$probe.log"
    status=1
  else
    echo "guards-test: $probe: exit $rc, $(basename "$found")"
  fi
}

expect probe-fault 1 fault "planted fault"
expect probe-window 1 fault "window(s) opened"
expect probe-hang 3 hang "ran longer than"
expect probe-alloc 4 alloc "operator new of"
expect probe-crash 5 crash "exception c0000005"
exit $status
