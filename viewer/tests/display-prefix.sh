#!/usr/bin/env bash
# display-prefix.sh PREFIX
#   Makes (once) a Wine prefix for windows on a real X display: Wine's X11 driver drawing its
#   own captions (no window manager needed), the TrueType fonts of fonts-wine copied in, and
#   the faces the viewer asks for mapped to installed ones. Leaves no wineserver running.
set -euo pipefail
export WINEPREFIX=$1
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver

if [ -f "$WINEPREFIX/.velk-display-ready" ]; then
  exit 0
fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
setsid "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ /d Tahoma
reg 'HKCU\Software\Wine\Fonts\Replacements' /v Consolas /t REG_SZ /d 'Liberation Mono'
# Windows falls back to its symbol fonts for glyphs a face lacks (the theme button's sun and
# moon, the check marks); here DejaVu Sans plays that part.
for face in Tahoma 'Segoe UI'; do
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'DejaVuSans.ttf,DejaVu Sans'
done
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
         /usr/share/fonts/truetype/liberation/LiberationMono-*.ttf \
         /usr/share/fonts/truetype/liberation2/LiberationMono-*.ttf; do
  [ -f "$f" ] && cp "$f" "$fonts/"
done
"$server" -w
touch "$WINEPREFIX/.velk-display-ready"
