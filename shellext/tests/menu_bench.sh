#!/bin/bash
# Runs shell_menu_bench.exe with a network-typed drive N: for its network case.
#
# usage: WINEPREFIX=PREFIX VELK_WINE_RUN=WINE_RUN menu_bench.sh BIN_FOLDER [REPEATS]
set -u
bin=$1
repeats=${2:-7}
source "$(dirname "$0")/network_drive_prefix.sh" || exit 1
trap network_drive_cleanup EXIT
"$VELK_WINE_RUN" "$bin/shell_menu_bench.exe" "$repeats" 'N:'
