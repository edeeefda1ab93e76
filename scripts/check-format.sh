#!/usr/bin/env bash
# Checks that every C, C++ and Objective-C++ source of the tree is in the
# house style (.clang-format); prints what clang-format would change.
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.c' '*.cpp' '*.h' '*.mm')
else
  mapfile -t files < <(find . \( -path ./build -o -path ./node_modules -o -path ./.git \) -prune \
                         -o -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.mm' \) -print)
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: no sources found" >&2
  exit 1
fi
"${CLANG_FORMAT:-clang-format}" --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files in the house style"
