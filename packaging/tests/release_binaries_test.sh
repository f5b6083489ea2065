#!/usr/bin/env bash
# The release binaries carry no debug sections while the linked ones beside the build keep
# them, each has its version record, and the DLL exports what registration and the
# installer call.
# usage: release_binaries_test.sh OBJDUMP LINKED_FOLDER RELEASE_FOLDER...
set -u
objdump=$1 linked=$2
shift 2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

sections() { "$objdump" -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2 }'; }

for name in velkscope.exe velkshell.dll velksum.exe; do
  sections "$linked/$name" | grep -q '^\.debug_' ||
    fail "$linked/$name has no debug sections left for crash analysis"
  for folder in "$@"; do
    file=$folder/$name
    [ -f "$file" ] || { fail "$file is missing"; continue; }
    debug=$(sections "$file" | grep -E '^\.(debug|zdebug|stab)' | tr '\n' ' ')
    [ -z "$debug" ] || fail "$file keeps debug sections: $debug"
    sections "$file" | grep -qx '\.rsrc' || fail "$file has no resources (no version record)"
    [ "$(stat -c %s "$file")" -lt "$(stat -c %s "$linked/$name")" ] ||
      fail "$file is not smaller than the linked one"
  done
done

for folder in "$@"; do
  exports=$("$objdump" -p "$folder/velkshell.dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { t = 1; next } t && /^\t\[/ { print $NF } t && /^$/ { t = 0 }' |
    sort | tr '\n' ' ')
  [ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer RemoveLegacyHandlers " ] ||
    fail "$folder/velkshell.dll exports: $exports"
done

[ "$failures" = 0 ] && echo "release binaries: all checks passed"
exit $((failures > 0))
