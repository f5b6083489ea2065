#!/usr/bin/env bash
# Checks the sources' format, builds both flavours from scratch-or-incrementally and runs every
# test: the native suite, then the Windows suite under Wine (headless; its fixture starts and
# stops the wineserver).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# Every tracked C/C++ source in the repository's .clang-format style, before anything is built.
scripts/check-format.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

# The native suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and every
# fuzz target over its committed corpus.
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset native-sanitize -j"$jobs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz -j"$jobs" --no-tests=error

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
