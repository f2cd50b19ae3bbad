# Sourced by the scripts that run the program or the tests under Wine.
# Wine's own debug output off; no offer to install Mono or Gecko.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

MOSAIC_XVFB_PID=""

# Starts Xvfb when there is no display. Xvfb takes the first free display itself and writes
# its number once it accepts connections, so scripts started at once never share one.
start_xvfb_if_needed() {
  [ -n "${DISPLAY:-}" ] && return 0
  local out
  out=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out" >/dev/null 2>&1 &
  MOSAIC_XVFB_PID=$!
  local tries=0
  until [ "$(wc -l <"$out")" -ge 1 ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$MOSAIC_XVFB_PID" 2>/dev/null; then
      echo "wine-env: Xvfb did not start" >&2
      rm -f "$out"
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$out")"
  rm -f "$out"
}

stop_xvfb() {
  if [ -n "$MOSAIC_XVFB_PID" ]; then
    kill "$MOSAIC_XVFB_PID" 2>/dev/null || true
    wait "$MOSAIC_XVFB_PID" 2>/dev/null || true
    MOSAIC_XVFB_PID=""
  fi
}

# Waits until the prefix's Wine server has ended, and with it every Wine program of the
# prefix: the registry is then written out and the next step finds what the last one set.
wait_for_wine() {
  wineserver -w >/dev/null 2>&1 || true
}

# Runs a set-up step until it succeeds, three times at most: on a busy machine a Wine
# program can fail once while the server or the registry is still busy. The server is
# waited for, and a moment more each time, before the next attempt.
retry_step() {
  local attempt
  for attempt in 1 2 3; do
    "$@" && return 0
    wait_for_wine
    [ "$attempt" -lt 3 ] && sleep "$attempt"
  done
  return 1
}

# Whether the registry holds the value KEY\NAME (NAME empty: the key's default value).
registry_has_value() {
  local key=$1 name=$2
  if [ -z "$name" ]; then
    wine reg query "$key" /ve >/dev/null 2>&1
  else
    wine reg query "$key" /v "$name" >/dev/null 2>&1
  fi
}

# Sets the registry value KEY\NAME to DATA and checks that it reads back.
set_registry_value() {
  local key=$1 name=$2 data=$3
  wine reg add "$key" /v "$name" /d "$data" /f >/dev/null 2>&1 &&
    registry_has_value "$key" "$name"
}

# Imports the registry file at the Windows path FILE, and checks that the value KEY\NAME it
# sets reads back: regedit can end without an error and still have written nothing.
import_registry_file() {
  local file=$1 key=$2 name=$3
  wine regedit /S "$file" >/dev/null 2>&1 &&
    registry_has_value "$key" "$name"
}

# A new prefix: Wine's own set-up, finished before anything else reads the registry.
boot_wine_prefix() {
  wineboot -i >/dev/null 2>&1 && wait_for_wine && [ -f "$WINEPREFIX/system.reg" ]
}

# Creates the Wine prefix $1 on first use and registers the fonts that stand in for the
# Windows fonts the program asks for by name.
prepare_wine_prefix() {
  export WINEPREFIX=$1
  if [ -f "$WINEPREFIX/.mosaic-ready" ]; then
    install_wine_fonts
    return
  fi
  mkdir -p "$WINEPREFIX"
  wait_for_wine
  retry_step boot_wine_prefix || { echo "wine-env: wineboot failed in $WINEPREFIX" >&2; return 1; }
  local key='HKCU\Software\Wine\Fonts\Replacements'
  retry_step set_registry_value "$key" "Calibri" "Carlito" &&
  retry_step set_registry_value "$key" "Arial Unicode MS" "DejaVu Sans" &&
  retry_step set_registry_value "$key" "Segoe UI" "DejaVu Sans" ||
    { echo "wine-env: registering font replacements failed" >&2; return 1; }
  wait_for_wine
  install_wine_fonts || return 1
  touch "$WINEPREFIX/.mosaic-ready"
}

# Wine's own fonts (the symbols of check marks, submenu arrows and caption buttons among
# them) into the prefix's Fonts folder, where this Wine looks for them; a new prefix has
# none there.
install_wine_fonts() {
  local stamp="$WINEPREFIX/.mosaic-fonts-1"
  [ -f "$stamp" ] && return 0
  local source=/usr/share/wine/fonts
  [ -d "$source" ] || { echo "wine-env: Wine's fonts are missing (package fonts-wine)" >&2; return 1; }
  local target="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$target" && cp -n "$source"/* "$target"/ || return 1
  touch "$stamp"
}

# Gives the prefix (once, and again when the printer or its PPD file changes) a printer NAME
# driven by Wine's PostScript driver with the project's PPD file, whose port PORT pipes each
# job into a shell command ("|command"), and makes it the default printer. No CUPS is
# involved: Wine finds the printer and its driver in the prefix's registry.
add_virtual_printer() {
  local name=$1 port=$2
  local ppd
  ppd="$(dirname "${BASH_SOURCE[0]}")/printer/mosaic.ppd"
  local stamp sum
  stamp="$WINEPREFIX/.mosaic-printer-$(printf '%s' "$name" | md5sum | cut -c1-12)"
  sum=$({ printf '%s\n%s\n' "$name" "$port"; cat "$ppd"; } | md5sum | cut -c1-32)
  [ "$(cat "$stamp" 2>/dev/null)" = "$sum" ] && return 0
  # The PPD file goes where a Windows system keeps its printer drivers' files.
  local drivers="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
  mkdir -p "$drivers" "$WINEPREFIX/drive_c/windows/temp" || return 1
  cp "$ppd" "$drivers/MOSAIC.PPD" || return 1
  # Registry strings escape backslashes and quotes.
  local reg_port=${port//'\'/'\\'}
  reg_port=${reg_port//'"'/'\"'}
  cat >"$WINEPREFIX/drive_c/windows/temp/mosaic-printer.reg" <<EOF || return 1
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Mosaic File Printer]
"Driver"="wineps.drv"
"Configuration File"="wineps.drv"
"Data File"="C:\\\\windows\\\\system32\\\\spool\\\\drivers\\\\x64\\\\3\\\\MOSAIC.PPD"
"Version"=dword:00000003

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers\\$name]
"Name"="$name"
"Port"="$reg_port"
"Printer Driver"="Mosaic File Printer"
"Print Processor"="WinPrint"
"Datatype"="RAW"

[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Devices]
"$name"="WINEPS.DRV,$reg_port"

[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows]
"Device"="$name,WINEPS.DRV,$reg_port"
EOF
  local ok=0
  retry_step import_registry_file 'C:\windows\temp\mosaic-printer.reg' \
    'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices' "$name" || ok=1
  rm -f "$WINEPREFIX/drive_c/windows/temp/mosaic-printer.reg"
  wait_for_wine
  [ "$ok" -eq 0 ] || return 1
  echo "$sum" >"$stamp"
}

# Gives the prefix (once) file associations that hand the program's outputs and the files it
# opens for the user (PDF, spreadsheet tables, texts, pictures, XML) to the desktop's viewer
# through winebrowser and xdg-open. A fresh prefix opens only PDF files that way.
add_desktop_file_associations() {
  local stamp="$WINEPREFIX/.mosaic-associations-1"
  [ -f "$stamp" ] && return 0
  mkdir -p "$WINEPREFIX/drive_c/windows/temp" || return 1
  local reg="$WINEPREFIX/drive_c/windows/temp/mosaic-associations.reg"
  {
    printf 'Windows Registry Editor Version 5.00\n\n'
    printf '[HKEY_CLASSES_ROOT\\Mosaic.DesktopViewer\\shell\\open\\command]\n'
    printf '@="\\"C:\\\\windows\\\\system32\\\\winebrowser.exe\\" \\"%%1\\""\n\n'
    local ext
    for ext in pdf csv txt xml png jpg jpeg webp tif tiff bmp; do
      printf '[HKEY_CLASSES_ROOT\\.%s]\n@="Mosaic.DesktopViewer"\n\n' "$ext"
    done
  } >"$reg" || return 1
  local ok=0
  retry_step import_registry_file 'C:\windows\temp\mosaic-associations.reg' \
    'HKCR\.bmp' '' || ok=1
  rm -f "$reg"
  wait_for_wine
  [ "$ok" -eq 0 ] || return 1
  touch "$stamp"
}

# Lets Wine manage the program's windows itself when the display has no window manager (a
# bare Xvfb, say): a window left to a manager that is not there gets no caption and is never
# maximized. The choice is written only when it changes.
match_window_management() {
  command -v xprop >/dev/null || return 0
  local managed=Y
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || managed=N
  local stamp="$WINEPREFIX/.mosaic-managed"
  [ "$(cat "$stamp" 2>/dev/null)" = "$managed" ] && return 0
  retry_step set_registry_value 'HKCU\Software\Wine\X11 Driver' Managed "$managed" || return 1
  wait_for_wine
  echo "$managed" >"$stamp"
}
