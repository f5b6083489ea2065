#!/usr/bin/env bash
# velkora.msi under Wine, in a prefix of its own made afresh: install (with the handler keys
# of the earlier name present), the registry against what regsvr32 writes for the same DLL
# path, removal, an upgrade to the later version, a refused downgrade, and removal again.
# The checks of installed state run in package_checks.exe (VELK_EXPECTED_VERSION).
# usage: msi_test.sh PREFIX MSI NEXT_MSI VERSION NEXT_VERSION BIN_FOLDER WINE_PREFIX_SCRIPT
set -u
prefix=$1 msi=$2 next_msi=$3 version=$4 next_version=$5 bin=$6 prefix_script=$7
export WINEPREFIX=$prefix WINEDEBUG=-all
wine=/usr/lib/wine/wine64
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
for f in "$msi" "$next_msi" "$bin/package_checks.exe"; do
  [ -f "$f" ] || { echo "FAIL: $f was not built"; exit 1; }
done

rm -rf "$prefix"
bash "$prefix_script" up "$prefix"
trap 'bash "$prefix_script" down "$prefix"' EXIT
program_files=$prefix/drive_c/Program\ Files/Velkora

# msiexec ACTION PACKAGE: quiet, sets rc.
msiexec() {
  "$wine" msiexec "$1" "$(winpath "$2")" /qn >/dev/null 2>&1
  rc=$?
}
# checks EXPECTED_VERSION FILTER WHAT: the state checks of package_checks.exe.
checks() {
  local out
  if ! out=$(VELK_EXPECTED_VERSION=$1 "$wine" "$bin/package_checks.exe" --gtest_filter="$2" 2>&1); then
    fail "$3"
    tr -d '\r' <<<"$out" | grep -v -E '^\[ +(RUN|OK) +\]'
  fi
}
clsid='{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}'
handler_keys=('HKCR\*\shellex\ContextMenuHandlers\Velkora'
  'HKCR\*\shellex\PropertySheetHandlers\Velkora'
  'HKCR\lnkfile\shellex\PropertySheetHandlers\Velkora')
legacy_keys=('HKCR\*\shellex\ContextMenuHandlers\Ostrivane'
  'HKCR\*\shellex\PropertySheetHandlers\Ostrivane'
  'HKCR\lnkfile\shellex\PropertySheetHandlers\Ostrivane')
# Every key and value of the extension's registration, as reg prints them.
layout() {
  for key in "HKCR\\CLSID\\$clsid" "${handler_keys[@]}"; do
    "$wine" reg query "$key" /s 2>&1
  done
  "$wine" reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved' \
    /v "$clsid" 2>&1
}
legacy_present() {
  local key found=0
  for key in "${legacy_keys[@]}"; do
    "$wine" reg query "$key" >/dev/null 2>&1 && found=$((found + 1))
  done
  echo "$found"
}

# ---- Install, with the earlier name's handler keys (one with a subkey) in place ----
for key in "${legacy_keys[@]}"; do "$wine" reg add "$key\\Below" /f >/dev/null 2>&1; done
[ "$(legacy_present)" = 3 ] || fail "could not create the legacy keys"
msiexec /i "$msi"
[ "$rc" = 0 ] || fail "msiexec /i velkora.msi exited $rc"
checks "$version" 'Installed*:InstalledMenu*' "the installed state of $version"
[ "$(legacy_present)" = 0 ] || fail "the legacy handler keys survived the installation"
installed_layout=$(layout)
grep -qF "(Default)    REG_SZ    C:\\Program Files\\Velkora\\velkshell.dll" <<<"$installed_layout" ||
  fail "the server path is not the installed DLL: $installed_layout"

# ---- Remove (legacy keys that came back meanwhile go too) ----
"$wine" reg add "${legacy_keys[0]}" /f >/dev/null 2>&1
msiexec /x "$msi"
[ "$rc" = 0 ] || fail "msiexec /x velkora.msi exited $rc"
checks "$version" 'Removed*' "something is left after msiexec /x"
[ "$(legacy_present)" = 0 ] || fail "a legacy handler key survived the removal"
[ ! -e "$program_files" ] || fail "the install folder is left: $(ls "$program_files")"

# ---- The same DLL at the same path through regsvr32: the registry must read the same ----
mkdir -p "$program_files"
cp "$bin/velkshell.dll" "$program_files/"
"$wine" regsvr32 /s 'C:\Program Files\Velkora\velkshell.dll' >/dev/null 2>&1 ||
  fail "regsvr32 of the copy at the installed path failed"
registered_layout=$(layout)
[ "$installed_layout" = "$registered_layout" ] ||
  fail "the installer's registry differs from DllRegisterServer's:
$(diff <(echo "$installed_layout") <(echo "$registered_layout"))"
"$wine" regsvr32 /s /u 'C:\Program Files\Velkora\velkshell.dll' >/dev/null 2>&1
rm -rf "$program_files"

# ---- Upgrade: the later version over the earlier one ----
msiexec /i "$msi"
[ "$rc" = 0 ] || fail "msiexec /i velkora.msi (before the upgrade) exited $rc"
msiexec /i "$next_msi"
[ "$rc" = 0 ] || fail "msiexec /i of $next_version over $version exited $rc"
checks "$next_version" 'Installed*:InstalledMenu*' "the upgraded state ($next_version)"
[ "$(layout)" = "$installed_layout" ] || fail "the registry changed with the upgrade"

# ---- Downgrade: refused, the later version stays ----
msiexec /i "$msi"
[ "$rc" != 0 ] || fail "installing $version over $next_version was accepted"
checks "$next_version" 'Installed*' "the state after the refused downgrade"

msiexec /x "$next_msi"
[ "$rc" = 0 ] || fail "msiexec /x of $next_version exited $rc"
checks "$next_version" 'Removed*' "something is left after removing $next_version"

[ "$failures" = 0 ] && echo "installer: all checks passed"
exit $((failures > 0))
