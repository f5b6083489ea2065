#!/usr/bin/env bash
# The binaries that ship: each built binary stripped of its debug sections and symbols (the
# build keeps the unstripped one for crash analysis) and, when VELK_SIGN_PKCS12 names a
# certificate, signed (see sign.sh).
# usage: stage_release.sh OUT_FOLDER STRIP BINARY...
set -euo pipefail
out=$1 strip=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$out"
for binary in "$@"; do
  target=$out/$(basename "$binary")
  "$strip" --strip-all -o "$target.stripped" "$binary"
  if [ -n "${VELK_SIGN_PKCS12:-}" ]; then
    "$here/sign.sh" "$target.stripped" "$target"
    rm -f "$target.stripped"
  else
    mv -f "$target.stripped" "$target"
  fi
done
