#!/usr/bin/env bash
# Signing with a throwaway self-signed certificate, through the very scripts the build runs:
# the three release binaries and the MSI verify with osslsigncode; a changed byte, another
# certificate and a wrong password are caught. The build's own outputs are checked to be
# signed or unsigned as it was configured.
# usage: signing_test.sh SCRATCH PACKAGING_FOLDER STRIP LINKED_FOLDER README ICON VERSION
#                        RELEASE_FOLDER MSI BUILD_SIGNS(0|1)
set -u
scratch=$1 packaging=$2 strip=$3 linked=$4 readme=$5 icon=$6 version=$7
release=$8 msi=$9 build_signs=${10}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
verify() { osslsigncode verify -CAfile "$2" -in "$1" >"$scratch/verify.log" 2>&1; }

rm -rf "$scratch" && mkdir -p "$scratch"
# make_certificate NAME PASSWORD: NAME.pem (certificate) and NAME.p12 (with its key).
make_certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velkora test signing $1" \
    -addext extendedKeyUsage=codeSigning -keyout "$scratch/$1.key" -out "$scratch/$1.pem" \
    >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$scratch/$1.key" -in "$scratch/$1.pem" -out "$scratch/$1.p12" \
      -passout "pass:$2" >/dev/null 2>&1
}
make_certificate throwaway 'pass word' || { echo "FAIL: openssl could not make a certificate"; exit 1; }
make_certificate other other || { echo "FAIL: openssl could not make a second certificate"; exit 1; }

# The password from the environment of the build, and from the file the build writes when
# it comes from the cache.
export VELK_SIGN_PKCS12=$scratch/throwaway.p12
printf 'pass word' >"$scratch/password"
for source in environment file; do
  if [ "$source" = environment ]; then
    export VELK_SIGN_PASSWORD='pass word' VELK_SIGN_PASSWORD_FILE=
  else
    export VELK_SIGN_PASSWORD= VELK_SIGN_PASSWORD_FILE=$scratch/password
  fi
  out=$scratch/$source
  "$packaging/stage_release.sh" "$out" "$strip" \
    "$linked/velkscope.exe" "$linked/velkshell.dll" "$linked/velksum.exe" ||
    fail "stage_release.sh failed (password from the $source)"
  "$packaging/build_msi.sh" "$out/velkora.msi" "$version" "$out" "$readme" "$icon" ||
    fail "build_msi.sh failed (password from the $source)"
  for file in velkscope.exe velkshell.dll velksum.exe velkora.msi; do
    verify "$out/$file" "$scratch/throwaway.pem" ||
      fail "$file does not verify (password from the $source): $(tail -3 "$scratch/verify.log")"
    grep -q 'Subject: /CN=Velkora test signing throwaway' "$scratch/verify.log" ||
      fail "$file is not signed by the throwaway certificate"
  done
done
out=$scratch/file

# The signature is checked, not merely present: another root, a changed byte.
verify "$out/velkshell.dll" "$scratch/other.pem" && fail "velkshell.dll verifies against another certificate"
cp "$out/velkshell.dll" "$scratch/changed.dll"
printf 'X' | dd of="$scratch/changed.dll" bs=1 seek=4096 conv=notrunc status=none
verify "$scratch/changed.dll" "$scratch/throwaway.pem" && fail "a changed velkshell.dll still verifies"

# A wrong password stops the build rather than shipping unsigned files.
VELK_SIGN_PASSWORD=wrong VELK_SIGN_PASSWORD_FILE= \
  "$packaging/stage_release.sh" "$scratch/wrong" "$strip" "$linked/velksum.exe" 2>/dev/null &&
  fail "stage_release.sh succeeded with a wrong password"

# The build's own outputs, as configured.
for file in "$release/velkscope.exe" "$release/velkshell.dll" "$release/velksum.exe" "$msi"; do
  osslsigncode verify -in "$file" >"$scratch/verify.log" 2>&1
  unsigned=$(grep -c 'Unable to extract existing signature' "$scratch/verify.log")
  if [ "$build_signs" = 1 ]; then
    [ "$unsigned" = 0 ] || fail "$file is unsigned although the build signs"
  else
    [ "$unsigned" != 0 ] || fail "$file is signed although the build has no certificate"
  fi
done

[ "$failures" = 0 ] && echo "signing: all checks passed"
exit $((failures > 0))
