# Sourced by the scripts that run the program or the tests under Wine.
# Wine's own debug output off; no offer to install Mono or Gecko.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

MOSAIC_XVFB_PID=""

# Starts Xvfb on a free display when there is no display.
start_xvfb_if_needed() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  MOSAIC_XVFB_PID=$!
  local tries=0
  until [ -e "/tmp/.X11-unix/X$n" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$MOSAIC_XVFB_PID" 2>/dev/null; then
      echo "wine-env: Xvfb did not start on :$n" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$n"
}

stop_xvfb() {
  if [ -n "$MOSAIC_XVFB_PID" ]; then
    kill "$MOSAIC_XVFB_PID" 2>/dev/null || true
    wait "$MOSAIC_XVFB_PID" 2>/dev/null || true
    MOSAIC_XVFB_PID=""
  fi
}

# Creates the Wine prefix $1 on first use and registers the fonts that stand in for the
# Windows fonts the program asks for by name.
prepare_wine_prefix() {
  export WINEPREFIX=$1
  [ -f "$WINEPREFIX/.mosaic-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed in $WINEPREFIX" >&2; return 1; }
  local key='HKCU\Software\Wine\Fonts\Replacements'
  wine reg add "$key" /v "Calibri" /d "Carlito" /f >/dev/null 2>&1 &&
  wine reg add "$key" /v "Arial Unicode MS" /d "DejaVu Sans" /f >/dev/null 2>&1 &&
  wine reg add "$key" /v "Segoe UI" /d "DejaVu Sans" /f >/dev/null 2>&1 ||
    { echo "wine-env: registering font replacements failed" >&2; return 1; }
  wineserver -w
  touch "$WINEPREFIX/.mosaic-ready"
}
