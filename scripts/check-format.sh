#!/usr/bin/env bash
# Fails when a tracked C or C++ source differs from the repository's .clang-format style, and
# names the files. `clang-format -i FILE...` puts them right.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is missing (scripts/setup.sh installs it)" >&2; exit 2; }

mapfile -t sources < <(git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
if report=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
  echo "check-format: ${#sources[@]} sources formatted"
  exit 0
fi
echo "check-format: sources not formatted (clang-format -i FILE... formats them):" >&2
printf '%s\n' "$report" | sed -n 's/^\([^: ][^:]*\):[0-9]*:[0-9]*: error: .*/  \1/p' | sort -u >&2
exit 1
