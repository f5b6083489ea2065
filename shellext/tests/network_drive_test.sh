#!/bin/bash
# A file on a drive the system reports as a network drive is never opened by the extension:
# the drive N: is a folder of this machine typed "network" in the emulator's drive
# configuration, and the folder's Linux side is watched for opens and reads while the test
# program builds the menu and the page of a readable file there.
#
# The emulator reads its drive configuration when its services start, so the test runs in a
# copy of the build's prefix with a wineserver of its own, started after the drive was added.
#
# usage: network_drive_test.sh BIN_FOLDER   (WINEPREFIX and VELK_WINE_RUN set by CTest)
set -u
bin=$1
scratch=$(mktemp -d)
folder="$scratch/share"
mkdir "$folder"
cp -a "$WINEPREFIX" "$scratch/prefix" || exit 1
export WINEPREFIX="$scratch/prefix"
server=/usr/lib/wine/wineserver
cleanup() {
    [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null && wait "$watcher" 2>/dev/null
    "$server" -k 2>/dev/null
    "$server" -w 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
printf 'readable bytes on a share\n' > "$folder/on the share.txt"
ln -sfn "$folder" "$WINEPREFIX/dosdevices/n:"
"$VELK_WINE_RUN" reg add 'HKLM\Software\Wine\Drives' /v n: /t REG_SZ /d network /f >/dev/null 2>&1 || exit 1
"$server" -k 2>/dev/null
"$server" -w 2>/dev/null
setsid "$server" -p </dev/null >/dev/null 2>&1
setsid "$VELK_WINE_RUN" wineboot </dev/null >/dev/null 2>&1

python3 "$(dirname "$0")/inotify_watch.py" "$folder" "$folder.ready" > "$folder.events" &
watcher=$!
for _ in $(seq 100); do [ -e "$folder.ready" ] && break; sleep 0.1; done
"$VELK_WINE_RUN" "$bin/shell_network_drive_test.exe" 'N:\on the share.txt'
status=$?
kill "$watcher"; wait "$watcher" 2>/dev/null; watcher=
events=$(grep -c 'on the share' "$folder.events")
echo "opens and reads of the file seen on the Linux side: $events"
sed 's/^/  /' "$folder.events"
rm -f "$folder.ready" "$folder.events"
[ "$status" -eq 0 ] && [ "$events" -eq 0 ]
