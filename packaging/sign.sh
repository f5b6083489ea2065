#!/usr/bin/env bash
# Authenticode-signs one file (PE or MSI) with SHA-256: sign.sh IN OUT
# The signing environment, set by the build from its cache variables:
#   VELK_SIGN_PKCS12         the certificate and its key (PKCS#12)
#   VELK_SIGN_PASSWORD_FILE  a file holding its password; when empty, the password is
#                            VELK_SIGN_PASSWORD from the environment (empty when unset)
#   VELK_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server; empty: no time stamp
# The password reaches osslsigncode through a file only this user can read, never on a
# command line.
set -euo pipefail
in=$1 out=$2
timestamp=()
[ -z "${VELK_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$VELK_SIGN_TIMESTAMP_URL")
passfile=${VELK_SIGN_PASSWORD_FILE:-}
if [ -z "$passfile" ]; then
  passfile=$(umask 077 && mktemp)
  trap 'rm -f "$passfile"' EXIT
  printf '%s' "${VELK_SIGN_PASSWORD:-}" >"$passfile"
fi
rm -f "$out"
osslsigncode sign -pkcs12 "$VELK_SIGN_PKCS12" -readpass "$passfile" -h sha256 \
  -n "Velkora hash tools" "${timestamp[@]}" -in "$in" -out "$out" >/dev/null
