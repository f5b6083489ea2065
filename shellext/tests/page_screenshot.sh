#!/usr/bin/env bash
# page_screenshot.sh BIN_DIR PREFIX TOP_PNG CHECK_PNG
#   Renders the "Hashes" page on a virtual X display in a prefix of its own (readable fonts,
#   the X11 driver instead of the headless one): the top of the page as TOP_PNG, and the page
#   scrolled to its clipboard check (a match) as CHECK_PNG.
set -euo pipefail
bin=$1
export WINEPREFIX=$2
out=$3
check=$4
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver

if [ ! -f "$WINEPREFIX/.velk-shot-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  setsid "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v Consolas /t REG_SZ /d 'Liberation Mono'
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ /d Tahoma
  # Wine draws the frame itself (no window manager on the virtual display).
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  "$server" -w
  touch "$WINEPREFIX/.velk-shot-ready"
fi

mkdir -p "$(dirname "$out")"
rm -f "$out" "$check"
# The server ends inside the display's lifetime, so nothing outlives the test's pipes.
xvfb-run -a -s '-screen 0 1280x1024x24' \
  sh -c '"$1" "$2" "Z:$3" "Z:$4"; rc=$?; "$5" -w; exit $rc' sh \
  "$wine" "$bin/page_screenshot.exe" "$out" "$check" "$server"
test -s "$out" && test -s "$check"
