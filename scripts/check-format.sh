#!/bin/sh
# Fails when a C or C++ file of the repository differs from the style in .clang-format.
# `sh scripts/check-format.sh fix` formats them in place instead.
set -e
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' '*.c')
if [ "$1" = fix ]; then
  echo "$files" | xargs clang-format -i
else
  echo "$files" | xargs clang-format --dry-run --Werror
fi
