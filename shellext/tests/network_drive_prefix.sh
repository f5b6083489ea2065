# Sourced: a copy of the build's prefix ($WINEPREFIX) in which drive N: is the folder
# $folder, typed "network" in the emulator's drive configuration. The emulator reads that
# configuration when its services start, so the copy gets a wineserver of its own, started
# after the drive was added. Sets WINEPREFIX to the copy, $folder and $scratch; call
# network_drive_cleanup when done.
server=/usr/lib/wine/wineserver
scratch=$(mktemp -d)
folder="$scratch/share"
mkdir "$folder"
cp -a "$WINEPREFIX" "$scratch/prefix" || return 1
export WINEPREFIX="$scratch/prefix"
ln -sfn "$folder" "$WINEPREFIX/dosdevices/n:"
"$VELK_WINE_RUN" reg add 'HKLM\Software\Wine\Drives' /v n: /t REG_SZ /d network /f >/dev/null 2>&1 || return 1
"$server" -k 2>/dev/null
"$server" -w 2>/dev/null
setsid "$server" -p </dev/null >/dev/null 2>&1
setsid "$VELK_WINE_RUN" wineboot </dev/null >/dev/null 2>&1

network_drive_cleanup() {
    "$server" -k 2>/dev/null
    "$server" -w 2>/dev/null
    rm -rf "$scratch"
}
