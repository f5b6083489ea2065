#!/usr/bin/env bash
# Builds velkora.msi from release binaries (already stripped and, when a certificate is
# given, signed), then signs the package itself (see sign.sh for the signing environment).
# usage: build_msi.sh OUT.msi VERSION BIN_FOLDER README ICON
set -euo pipefail
out=$1 version=$2 bin=$3 readme=$4 icon=$5
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d "${out}.XXXXXX")
trap 'rm -rf "$work"' EXIT
msi=$work/velkora.msi

# wixl takes only sources named relative to the .wxs file: gather everything in one folder.
mkdir "$work/bin"
cp "$bin/velkscope.exe" "$bin/velkshell.dll" "$bin/velksum.exe" "$work/bin/"
cp "$readme" "$work/README-windows.txt"
cp "$icon" "$work/velkscope.ico"
cp "$here/velkora.wxs" "$work/"
kilobytes=$((($(cat "$work"/bin/* "$work/README-windows.txt" | wc -c) + 1023) / 1024))
(cd "$work" && wixl -a x64 -D Version="$version" -D BinDir=bin -D ReadmeFile=README-windows.txt \
  -D IconFile=velkscope.ico -D ArpSize="$kilobytes" -o velkora.msi velkora.wxs)

# wixl neither expresses a deferred action that calls a DLL the package installs nor places
# its custom actions where they are asked for, so these rows go in by hand.
sequence_of() {
  msiinfo export "$msi" InstallExecuteSequence | tr -d '\r' |
    awk -F'\t' -v a="$1" '$1 == a { print $3 }'
}
# add_action NAME TYPE SOURCE TARGET CONDITION SEQUENCE
add_action() {
  if msiinfo export "$msi" InstallExecuteSequence | tr -d '\r' |
    awk -F'\t' -v s="$6" '$3 == s { f = 1 } END { exit !f }'; then
    echo "build_msi.sh: sequence number $6 for $1 is already taken" >&2
    exit 1
  fi
  msibuild "$msi" -q "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`) VALUES ('$1', $2, '$3', '$4')"
  msibuild "$msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('$1', '$5', $6)"
}
# A rebuild of the same version replaces the installed one too (wixl's major upgrade stops
# short of it, which leaves two entries of one version): 512 = the maximum is included. The
# attributes are part of the row's key, so the row is replaced.
upgrade_row=$(msiinfo export "$msi" Upgrade | tr -d '\r' |
  awk -F'\t' '$7 == "WIX_UPGRADE_DETECTED" && $2 == "" && $5 == 1 { print $1 "\t" $3 }')
upgrade_code=${upgrade_row%%$'\t'*} upgrade_max=${upgrade_row#*$'\t'}
if [ -z "$upgrade_row" ] || [ "$upgrade_max" != "$version" ]; then
  echo "build_msi.sh: unexpected Upgrade table from wixl" >&2
  exit 1
fi
msibuild "$msi" -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
msibuild "$msi" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"

# The binaries are versioned files (their version records carry the build's version); wixl
# leaves the File table's version empty, which would make them look unversioned to the
# installer's file replacement rules.
file_version=$version
while [ "$(tr -cd . <<<"$file_version" | wc -c)" -lt 3 ]; do file_version=$file_version.0; done
for file in velkscope.exe velkshell.dll velksum.exe; do
  msibuild "$msi" -q "UPDATE \`File\` SET \`Version\` = '$file_version', \`Language\` = '1033' WHERE \`File\` = '$file'"
done

costed=$(sequence_of CostFinalize)
written=$(sequence_of WriteRegistryValues)
removed=$(sequence_of RemoveRegistryValues)
files_removed=$(sequence_of RemoveFiles)
if [ -z "$costed" ] || [ -z "$written" ] || [ -z "$removed" ] || [ -z "$files_removed" ] ||
  [ $((removed + 1)) -ge "$files_removed" ]; then
  echo "build_msi.sh: unexpected InstallExecuteSequence from wixl" >&2
  exit 1
fi
# Type 51: set a property, here the folder "Installed apps" shows, once it is known.
add_action SetInstallLocation 51 ARPINSTALLLOCATION '[INSTALLDIR]' '' $((costed + 1))
# Type 3153 = DLL in the File table (17) + return value ignored (64) + deferred (1024) +
# system context (2048). The install one runs once the registry table is written, the
# removal one once it is removed and before the DLL itself goes.
add_action RemoveLegacyHandlersOnInstall 3153 velkshell.dll RemoveLegacyHandlers \
  'NOT REMOVE~="ALL"' $((written + 1))
add_action RemoveLegacyHandlersOnRemove 3153 velkshell.dll RemoveLegacyHandlers \
  'REMOVE~="ALL"' $((removed + 1))

if [ -n "${VELK_SIGN_PKCS12:-}" ]; then
  "$here/sign.sh" "$msi" "$work/signed.msi"
  mv "$work/signed.msi" "$msi"
fi
mv "$msi" "$out"
