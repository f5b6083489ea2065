#!/usr/bin/env bash
# install.cmd and uninstall.cmd under Wine's cmd: they register and unregister the DLL
# beside them (wherever the folder is, whatever the current folder), say so, and return
# regsvr32's exit code.
# usage: install_scripts_test.sh BIN_FOLDER SCRIPT_FOLDER SCRATCH_FOLDER
set -u
bin=$1 scripts=$2 scratch=$3
run=${VELK_WINE_RUN:?VELK_WINE_RUN must name the wine wrapper}
server_key='HKCR\CLSID\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}\InprocServer32'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# run_in FOLDER COMMAND...: sets out (CR removed) and rc.
run_in() {
  local dir=$1; shift
  out=$(cd "$dir" && "$run" "$@" 2>&1); rc=$?
  out=${out//$'\r'/}
}
registered_path() { "$run" reg query "$server_key" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }

# A folder with spaces and parentheses, as under "Program Files (x86)".
spaced="$scratch/velkora (x86) test"
plain="$scratch/velkora-plain"
rm -rf "$scratch" && mkdir -p "$spaced" "$plain"
for d in "$spaced" "$plain"; do cp "$bin/velkshell.dll" "$scripts/install.cmd" "$scripts/uninstall.cmd" "$d/"; done
"$run" regsvr32 /s /u "$(winpath "$bin/velkshell.dll")" >/dev/null 2>&1

# Run from the folder that holds the binaries.
run_in "$spaced" cmd /c install.cmd
[ "$rc" = 0 ] || fail "install.cmd exit code $rc, expected 0"
grep -qF "Registered the Velkora shell extension: $(winpath "$spaced/velkshell.dll")" <<<"$out" ||
  fail "install.cmd did not say what it registered: $out"
[ "$(registered_path)" = "$(winpath "$spaced/velkshell.dll")" ] ||
  fail "server path after install.cmd is '$(registered_path)'"

run_in "$spaced" cmd /c uninstall.cmd
[ "$rc" = 0 ] || fail "uninstall.cmd exit code $rc, expected 0"
grep -qF "Unregistered the Velkora shell extension: $(winpath "$spaced/velkshell.dll")" <<<"$out" ||
  fail "uninstall.cmd did not say what it unregistered: $out"
[ -z "$(registered_path)" ] || fail "still registered after uninstall.cmd"

# Started from another current folder: the DLL beside the script is the one registered.
run_in "$scratch" cmd /c "$(winpath "$plain/install.cmd")"
[ "$rc" = 0 ] || fail "install.cmd from another folder: exit code $rc"
[ "$(registered_path)" = "$(winpath "$plain/velkshell.dll")" ] ||
  fail "install.cmd from another folder registered '$(registered_path)'"
run_in "$scratch" cmd /c "$(winpath "$plain/uninstall.cmd")"
[ "$rc" = 0 ] || fail "uninstall.cmd from another folder: exit code $rc"
[ -z "$(registered_path)" ] || fail "still registered after uninstall.cmd from another folder"

# Without the DLL: regsvr32's own exit code comes back, with a message that says so.
rm "$plain/velkshell.dll"
run_in "$plain" regsvr32 /s "$(winpath "$plain/velkshell.dll")"; expected=$rc
[ "$expected" != 0 ] || fail "regsvr32 accepted a missing DLL"
run_in "$plain" cmd /c install.cmd
[ "$rc" = "$expected" ] || fail "install.cmd without the DLL: exit code $rc, regsvr32 gives $expected"
grep -qF "Could not register $(winpath "$plain/velkshell.dll") - regsvr32 exit code $expected." <<<"$out" ||
  fail "install.cmd without the DLL said: $out"
run_in "$plain" cmd /c uninstall.cmd
[ "$rc" = "$expected" ] || fail "uninstall.cmd without the DLL: exit code $rc, expected $expected"

[ "$failures" = 0 ] && echo "install scripts: all checks passed"
exit $((failures > 0))
