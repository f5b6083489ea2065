#!/usr/bin/env bash
# Builds both flavours from scratch-or-incrementally and runs every test: the native suite,
# then the Windows suite under Wine (headless; its fixture starts and stops the wineserver).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
