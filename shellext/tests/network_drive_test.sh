#!/bin/bash
# A file on a drive the system reports as a network drive is never opened by the extension:
# the drive N: is a folder of this machine typed "network" in the emulator's drive
# configuration, and the folder's Linux side is watched for opens and reads while the test
# program builds the menu of a readable file there (in a copy of the prefix, see
# network_drive_prefix.sh).
#
# usage: network_drive_test.sh BIN_FOLDER   (WINEPREFIX and VELK_WINE_RUN set by CTest)
set -u
bin=$1
source "$(dirname "$0")/network_drive_prefix.sh" || exit 1
cleanup() {
    [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null && wait "$watcher" 2>/dev/null
    network_drive_cleanup
}
trap cleanup EXIT
printf 'readable bytes on a share\n' > "$folder/on the share.txt"

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
