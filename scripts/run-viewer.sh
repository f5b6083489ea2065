#!/usr/bin/env bash
# run-viewer.sh [FILE] [SCREENSHOT]
#   Opens velkscope.exe (Windows flavour, under Wine) on FILE, waits until its digests are
#   shown, saves a screenshot of the window to SCREENSHOT and closes the viewer.
#   FILE defaults to the built velksum.exe, SCREENSHOT to build/windows/artifacts/velkscope.png.
#   Installs nothing (scripts/setup.sh does); builds build/windows when needed; uses the
#   display prefix build/windows/viewer-xprefix; starts a virtual X screen when there is no
#   DISPLAY. VELK_BUILD names another Windows build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_BUILD:-"$root/build/windows"}
file=${1:-"$build/bin/velksum.exe"}
shot=${2:-"$build/artifacts/velkscope.png"}

if [ "${3:-}" != "--on-display" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
  else
    cmake "$build" >/dev/null
  fi
  cmake --build "$build" -j2 --target velkscope velksum velkscope_probe >/dev/null
  "$root/viewer/tests/display-prefix.sh" "$build/viewer-xprefix"
  mkdir -p "$(dirname "$shot")"
  file=$(realpath "$file")
  shot=$(realpath -m "$shot")
  if [ -n "${DISPLAY:-}" ]; then
    VELK_BUILD="$build" exec "$0" "$file" "$shot" --on-display
  fi
  export VELK_BUILD="$build"
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$file" "$shot" --on-display
fi

export WINEPREFIX="$build/viewer-xprefix" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
setsid "$server" -p </dev/null >/dev/null 2>&1 || true
"$wine" "$build/bin/velkscope.exe" "Z:${file//\//\\}" </dev/null >/dev/null 2>&1 &
viewer=$!
status=0
if report=$("$wine" "$build/bin/velkscope_probe.exe" wait 120 </dev/null); then
  read -r _ x y w h <<<"$(printf '%s\n' "$report" | head -n1 | tr -d '\r')"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
  printf '%s\n' "$report" | tail -n +2 | tr -d '\r'
  echo "screenshot: $shot"
else
  status=1
fi
"$wine" "$build/bin/velkscope_probe.exe" close </dev/null >/dev/null 2>&1 || kill "$viewer" 2>/dev/null || true
wait "$viewer" 2>/dev/null || true
"$server" -k 2>/dev/null || true
"$server" -w 2>/dev/null || true
exit $status
