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

# The display prefix of the viewer's screenshots: readable fonts, the faces Windows has mapped
# to installed ones, a font link for the check marks, Wine drawing its own frames.
"$(cd "$(dirname "$0")" && pwd)/../../viewer/tests/display-prefix.sh" "$WINEPREFIX"

mkdir -p "$(dirname "$out")"
rm -f "$out" "$check"
# The server ends inside the display's lifetime, so nothing outlives the test's pipes.
xvfb-run -a -s '-screen 0 1280x1024x24' \
  sh -c '"$1" "$2" "Z:$3" "Z:$4"; rc=$?; "$5" -w; exit $rc' sh \
  "$wine" "$bin/page_screenshot.exe" "$out" "$check" "$server"
test -s "$out" && test -s "$check"
