#!/usr/bin/env bash
# display-tests.sh TEST_EXE PREFIX ARTIFACTS
#   Runs the viewer's display tests on a virtual X screen in a prefix of their own (the
#   shared test prefix is headless), then turns the screenshots into PNG files.
set -euo pipefail
exe=$1
prefix=$2
artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)

if [ "${4:-}" = "--on-display" ]; then
  export WINEPREFIX="$prefix" WINEDEBUG=-all
  export VELK_ARTIFACTS="Z:${artifacts//\//\\}"
  # A server left running by an earlier run that was cut short is fine.
  setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
  setsid /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1 || true
  # The tests start at 96 DPI; one cut short while it had set another leaves that behind.
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 96 /f </dev/null >/dev/null 2>&1 || true
  status=0
  /usr/lib/wine/wine64 "$exe" </dev/null || status=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  exit $status
fi

"$here/display-prefix.sh" "$prefix"
mkdir -p "$artifacts"
rm -f "$artifacts"/viewer-*.bmp
status=0
xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$exe" "$prefix" "$artifacts" --on-display || status=$?

if command -v convert >/dev/null; then
  for bmp in "$artifacts"/viewer-*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi
exit $status
