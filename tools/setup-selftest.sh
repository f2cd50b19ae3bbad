#!/usr/bin/env bash
# ./run.sh's set-up steps against a Wine that fails as a busy machine makes it fail: a step
# that fails once is tried again, a printer or associations that cannot be set up are
# reported and the program still starts, and a prefix that cannot be made stops the start.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "setup-selftest: $1"; exit 1; }

# The launcher and its scripts, with a build that is already done.
root="$dir/root"
mkdir -p "$root/tools/printer" "$root/build/bin" "$dir/stubs"
cp "$here/../run.sh" "$root/"
cp "$here/wine-env.sh" "$root/tools/"
cp "$here/printer/mosaic.ppd" "$root/tools/printer/"
printf '#!/bin/sh\nexit 0\n' >"$root/tools/build.sh"
chmod +x "$root/tools/build.sh"
touch "$root/build/bin/mosaic.exe.so"

# Wine's commands. STUBS/<command>-fails holds how many more times that command fails;
# a registry file is imported unless STUBS/regedit-writes-nothing exists.
stubs="$dir/stubs"
cat >"$stubs/wine" <<'EOF'
#!/usr/bin/env bash
failing() {
  local f="$STUBS/$1-fails" n
  n=$(cat "$f" 2>/dev/null || echo 0)
  [ "$n" -gt 0 ] || return 1
  echo $((n - 1)) >"$f"
}
case "$1" in
  regedit)
    failing regedit && exit 1
    [ -f "$STUBS/regedit-writes-nothing" ] && exit 0
    case "$3" in
      *printer*) touch "$STUBS/printer-imported" ;;
      *associations*) touch "$STUBS/associations-imported" ;;
    esac
    exit 0 ;;
  reg)
    case "$2" in
      add) failing reg && exit 1; exit 0 ;;
      query)
        case "$3" in
          *Devices*) [ -f "$STUBS/printer-imported" ] ;;
          *.bmp*) [ -f "$STUBS/associations-imported" ] ;;
          *) true ;;
        esac
        exit $? ;;
    esac ;;
  *) echo "$*" >>"$STUBS/started"; exit 0 ;;
esac
EOF
cat >"$stubs/wineboot" <<'EOF'
#!/usr/bin/env bash
f="$STUBS/wineboot-fails"
n=$(cat "$f" 2>/dev/null || echo 0)
if [ "$n" -gt 0 ]; then echo $((n - 1)) >"$f"; exit 1; fi
mkdir -p "$WINEPREFIX" && touch "$WINEPREFIX/system.reg"
EOF
printf '#!/bin/sh\nexit 0\n' >"$stubs/wineserver"
printf '#!/bin/sh\necho "Z:$2"\n' >"$stubs/winepath"
chmod +x "$stubs"/*

# One start of the program by a user whose home is HOME_NAME: its exit code, and what it
# said in $dir/said.
start() {
  local home="$dir/$1"
  mkdir -p "$home"
  rm -f "$stubs/started" "$stubs/printer-imported" "$stubs/associations-imported"
  env -u XDG_DATA_HOME -u WINEPREFIX HOME="$home" DISPLAY=:0 STUBS="$stubs" \
    PATH="$stubs:$PATH" "$root/run.sh" >"$dir/said" 2>&1
}
started() { [ -f "$stubs/started" ] && grep -q "mosaic.exe.so" "$stubs/started"; }
prefix_of() { echo "$dir/$1/.local/share/mosaic/wineprefix"; }

echo 1 >"$stubs/regedit-fails"
echo 1 >"$stubs/reg-fails"
start once || fail "a step that failed once stopped the start: $(cat "$dir/said")"
started || fail "the program did not start after a step failed once"
grep -q "could not be set up" "$dir/said" && fail "a step that failed once was reported: $(cat "$dir/said")"
ls "$(prefix_of once)"/.mosaic-printer-* >/dev/null 2>&1 || fail "the printer was not set up on the second try"

echo 99 >"$stubs/regedit-fails"
start busy || fail "a failing printer stopped the start: $(cat "$dir/said")"
started || fail "the program did not start without its printer"
grep -q "printer 'Mosaic PDF' could not be set up" "$dir/said" || fail "the printer's failure was not reported: $(cat "$dir/said")"
grep -q "file associations could not be set up" "$dir/said" || fail "the associations' failure was not reported: $(cat "$dir/said")"
ls "$(prefix_of busy)"/.mosaic-printer-* >/dev/null 2>&1 && fail "a printer that failed was marked as set up"
echo 0 >"$stubs/regedit-fails"
start busy || fail "the start after a failed printer failed: $(cat "$dir/said")"
ls "$(prefix_of busy)"/.mosaic-printer-* >/dev/null 2>&1 || fail "the next start did not set the printer up"
[ -f "$(prefix_of busy)/.mosaic-associations-1" ] || fail "the next start did not set the associations up"

touch "$stubs/regedit-writes-nothing"
start silent || fail "an import that wrote nothing stopped the start"
grep -q "printer 'Mosaic PDF' could not be set up" "$dir/said" || fail "an import that wrote nothing passed for a printer: $(cat "$dir/said")"
rm "$stubs/regedit-writes-nothing"

echo 99 >"$stubs/wineboot-fails"
start noprefix && fail "a start without a prefix went on: $(cat "$dir/said")"
started && fail "the program started without a prefix"
grep -q "step 'prepare Wine prefix' failed" "$dir/said" || fail "the prefix's failure was not said: $(cat "$dir/said")"
echo 1 >"$stubs/wineboot-fails"
start bootonce || fail "a wineboot that failed once stopped the start: $(cat "$dir/said")"
started || fail "the program did not start after wineboot failed once"
echo "setup-selftest: ok"
