#!/bin/sh
# check_window_made_list.sh WINE_RUN TEST_PROGRAM
#   Makes a list with velkscope --create under Wine (the test case of the check window that
#   writes SHA256SUMS for five files) in a folder of this machine, then checks that list with
#   the native sha256sum -c and that it names exactly those five files.
set -eu
folder=$(mktemp -d /tmp/velk-made-list.XXXXXX)
trap 'rm -rf "$folder"' EXIT
VELK_MADE_LIST_FOLDER="Z:$(printf '%s' "$folder" | tr / '\\')" \
  "$1" "$2" --gtest_filter=CheckWindow.MakesAListOfTheSelectedFilesInTheirFolder
cd "$folder"
sha256sum --strict -c SHA256SUMS
listed=$(sed 's/^[0-9a-f]\{64\}  //' SHA256SUMS | LC_ALL=C sort)
wanted=$(printf '%s\n' five one.iso 'sub dir/four.bin' 'sub dir/three.bin' 'two words.txt' | LC_ALL=C sort)
if [ "$listed" != "$wanted" ]; then
  printf 'SHA256SUMS lists:\n%s\nexpected:\n%s\n' "$listed" "$wanted"
  exit 1
fi
echo "sha256sum accepts the made list of the five files"
