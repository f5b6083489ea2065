#!/usr/bin/env bash
# shipped_symbols_test.sh NM CONTROL SHIPPED...
# Fails when any SHIPPED binary's symbol table holds a symbol of namespace velk::faults (the
# faults the engine's tests inject), or when CONTROL, a test program that injects them, holds
# none: then the symbol tables are not what this check assumes and it would prove nothing.
set -euo pipefail
nm_tool=$1
control=$2
shift 2
table=$(mktemp)
trap 'rm -f "$table"' EXIT

# Leaves the binary's fault symbols in $table; a binary nm cannot read fails the check.
read_fault_symbols() {
  if ! "$nm_tool" -C "$1" >"$table.all"; then
    echo "FAIL: $nm_tool cannot read the symbols of $1"
    exit 1
  fi
  grep -F 'velk::faults::' "$table.all" >"$table" || true
  rm -f "$table.all"
}

read_fault_symbols "$control"
if [ ! -s "$table" ]; then
  echo "FAIL: $(basename "$control") has no velk::faults symbol; the check cannot see injected faults"
  exit 1
fi
echo "control $(basename "$control"): $(wc -l <"$table") fault symbols"

status=0
for binary in "$@"; do
  read_fault_symbols "$binary"
  if [ -s "$table" ]; then
    echo "FAIL: $(basename "$binary") carries test faults:"
    cat "$table"
    status=1
  else
    echo "ok: $(basename "$binary") carries no test faults"
  fi
done
exit $status
