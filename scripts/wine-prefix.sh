#!/usr/bin/env bash
# wine-prefix.sh up|down PREFIX
#   up:   create the prefix once (headless: Wine's null display driver), then start a
#         persistent wineserver so that every test program starts in a fraction of a second.
#   down: stop that wineserver, which also writes the registry to disk.
set -euo pipefail
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver

case "$action" in
up)
  if [ ! -f "$WINEPREFIX/.velk-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    setsid "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$server" -w
    touch "$WINEPREFIX/.velk-ready"
  fi
  # Detached from the caller's output: CTest waits for every process that holds its pipes.
  setsid "$server" -p </dev/null >/dev/null 2>&1 || true  # already running is fine
  setsid "$wine" wineboot </dev/null >/dev/null 2>&1 || true
  ;;
down)
  "$server" -k 2>/dev/null || true
  "$server" -w 2>/dev/null || true
  ;;
*)
  echo "usage: wine-prefix.sh up|down PREFIX" >&2
  exit 2
  ;;
esac
