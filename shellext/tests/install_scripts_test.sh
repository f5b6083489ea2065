#!/usr/bin/env bash
# install.cmd and uninstall.cmd under Wine's cmd: they register and unregister the DLL
# beside them (wherever the folder is, whatever the current folder), say so, and return
# regsvr32's exit code; they tell a DLL that cannot be loaded from a registry that refuses
# the change (not run as administrator), and wait for a key when File Explorer started them.
# usage: install_scripts_test.sh BIN_FOLDER SCRIPT_FOLDER SCRATCH_FOLDER
set -u
bin=$1 scripts=$2 scratch=$3
run=${VELK_WINE_RUN:?VELK_WINE_RUN must name the wine wrapper}
class_key='CLSID\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}'
server_key="HKCR\\$class_key\\InprocServer32"
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

# Not run as administrator: the machine's registry refuses the class key (made read-only
# here, as it is for such a user). Registration fails with its own message and code.
"$run" "$bin/registry_lock.exe" lock "$class_key" || fail "could not lock the class key"
run_in "$spaced" cmd /c install.cmd
"$run" "$bin/registry_lock.exe" unlock "$class_key" || fail "could not unlock the class key"
"$run" reg delete "HKCR\\$class_key" /f >/dev/null 2>&1
[ "$rc" = 5 ] || fail "install.cmd refused by the registry: exit code $rc, expected 5"
grep -qF "Could not register $(winpath "$spaced/velkshell.dll") - not run as administrator (regsvr32 exit code 5)." <<<"$out" ||
  fail "install.cmd refused by the registry said: $out"
grep -qF 'could not be loaded' <<<"$out" && fail "install.cmd refused by the registry blamed the DLL: $out"
# An unregistration the registry refuses still reports success from regsvr32; uninstall.cmd
# finds the registration in place and says so (a stand-in DLL that changes nothing).
run_in "$spaced" cmd /c install.cmd
[ "$rc" = 0 ] || fail "install.cmd after the refusal: exit code $rc"
refused="$scratch/refused"
mkdir -p "$refused"
cp "$bin/registration_standin.dll" "$refused/velkshell.dll"
cp "$scripts/uninstall.cmd" "$refused/"
run_in "$refused" cmd /c uninstall.cmd
[ "$rc" = 5 ] || fail "uninstall.cmd refused by the registry: exit code $rc, expected 5"
grep -qF "Could not unregister $(winpath "$refused/velkshell.dll") - not run as administrator" <<<"$out" ||
  fail "uninstall.cmd refused by the registry said: $out"
[ "$(registered_path)" = "$(winpath "$spaced/velkshell.dll")" ] || fail "the registration changed"
run_in "$spaced" cmd /c uninstall.cmd
[ "$rc" = 0 ] || fail "uninstall.cmd after the refusal: exit code $rc"
[ -z "$(registered_path)" ] || fail "still registered after uninstall.cmd"

# A DLL that cannot be loaded, missing or damaged: regsvr32's own exit code comes back, with
# a message that says so (and does not blame the rights).
rm "$plain/velkshell.dll"
run_in "$plain" regsvr32 /s "$(winpath "$plain/velkshell.dll")"; expected=$rc
[ "$expected" = 3 ] || fail "regsvr32 of a missing DLL: exit code $expected, expected 3"
for damage in missing damaged; do
  [ "$damage" = missing ] || printf 'not a DLL\r\n' >"$plain/velkshell.dll"
  run_in "$plain" cmd /c install.cmd
  [ "$rc" = "$expected" ] || fail "install.cmd with a $damage DLL: exit code $rc, regsvr32 gives $expected"
  grep -qF "Could not register $(winpath "$plain/velkshell.dll") - the DLL could not be loaded (regsvr32 exit code $expected)." <<<"$out" ||
    fail "install.cmd with a $damage DLL said: $out"
  grep -qF 'administrator (' <<<"$out" && fail "install.cmd with a $damage DLL blamed the rights: $out"
  run_in "$plain" cmd /c uninstall.cmd
  [ "$rc" = "$expected" ] || fail "uninstall.cmd with a $damage DLL: exit code $rc, expected $expected"
  grep -qF "Could not unregister $(winpath "$plain/velkshell.dll") - the DLL could not be loaded" <<<"$out" ||
    fail "uninstall.cmd with a $damage DLL said: $out"
done

# Started by File Explorer (double-click, "Run as administrator"): cmd.exe /c with the script
# on its command line. The script waits for a key before its window closes; started from a
# prompt it does not. Wine's cmd has no CMDCMDLINE of its own, so the test gives it one.
# started_as CMDLINE SCRIPT: runs SCRIPT in $spaced with a standard input that stays open;
# sets out, rc and waited (yes when it was still running after its last line).
started_as() {
  local fifo=$scratch/keyboard log=$scratch/console pid i
  rm -f "$fifo" && mkfifo "$fifo"
  exec 7<>"$fifo"
  (cd "$spaced" && CMDCMDLINE=$1 exec "$run" cmd /c "$2") <&7 >"$log" 2>&1 &
  pid=$!
  waited=no
  for i in $(seq 1 600); do # its end, or its question
    kill -0 "$pid" 2>/dev/null || break
    grep -q 'Press any key' "$log" && break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    sleep 1
    kill -0 "$pid" 2>/dev/null && waited=yes
  fi
  printf 'x' >&7
  wait "$pid"; rc=$?
  exec 7>&-
  out=$(tr -d '\r' <"$log")
}
explorer_line() { printf 'C:\\windows\\system32\\cmd.exe /c ""%s\\%s" "' "$(winpath "$spaced")" "$1"; }
for script in install.cmd uninstall.cmd; do
  started_as "$(explorer_line "$script")" "$script"
  [ "$rc" = 0 ] || fail "$script started by File Explorer: exit code $rc"
  [ "$waited" = yes ] || fail "$script started by File Explorer did not wait for a key: $out"
  grep -q 'Press any key' <<<"$out" || fail "$script started by File Explorer did not ask for a key: $out"
  started_as '"C:\windows\system32\cmd.exe"' "$script"
  [ "$rc" = 0 ] || fail "$script from a prompt: exit code $rc"
  [ "$waited" = no ] || fail "$script from a prompt waited for a key: $out"
done

[ "$failures" = 0 ] && echo "install scripts: all checks passed"
exit $((failures > 0))
