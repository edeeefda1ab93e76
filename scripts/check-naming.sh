#!/usr/bin/env bash
# Checks that every C++ source a build of the linux preset compiles (the
# Linux build's, and the Windows build's own sources) keeps the one naming
# convention of .clang-tidy (clang-tidy's readability-identifier-naming),
# headers of this tree included; prints each name that breaks it. Objective-C++
# is left out: clang finds no Objective-C runtime headers beside GNUstep's.
#
#   scripts/check-naming.sh [BUILD]   (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/linux}
tidy=${CLANG_TIDY:-clang-tidy}
filter="^$root/(capture|host|substitute_host|tests|bench|macos_runner|fuzz|plugin)/"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# The translation units of a compilation database that hold C++ sources of
# this tree: a source itself, or a batch of them (a unity build's file, which
# includes them); with "windows", those holding a source whose name says
# Windows (or that lives in tests/windows).
units() {
  python3 - "$1" "$root" "${2:-}" <<'PY'
import json, re, sys
database, root, only_windows = sys.argv[1], sys.argv[2] + "/", sys.argv[3] == "windows"
def ours(f):
    return f.startswith(root) and not f[len(root):].startswith(("build/", "node_modules/")) and f.endswith(".cpp")
for unit in sorted({e["file"] for e in json.load(open(database))}):
    sources = re.findall(r'^#include "([^"]+)"', open(unit).read(), re.M) if "/Unity/" in unit else [unit]
    sources = [f for f in sources if ours(f)]
    if sources and (not only_windows or any("Windows" in f or "/tests/windows/" in f for f in sources)):
        print(unit)
PY
}

status=0
mapfile -t linux < <(units "$build/compile_commands.json")
printf '%s\n' "${linux[@]}" | xargs -P2 -n8 "$tidy" -p "$build" --quiet --header-filter="$filter" \
  >>"$out" 2>/dev/null || status=1
windows=()
if [ -f "$build/windows/compile_commands.json" ]; then
  # Parsed as mingw-w64's compiler sees them, with its C++ library, without
  # the one flag of GCC's that clang does not know.
  gcc_cxx=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-win32/include/c++ | head -n 1)
  database=$(mktemp -d)
  trap 'rm -rf "$out" "$database"' EXIT
  sed 's/ -fno-keep-inline-dllexport//g' "$build/windows/compile_commands.json" \
    >"$database/compile_commands.json"
  mapfile -t windows < <(units "$database/compile_commands.json" windows)
  printf '%s\n' "${windows[@]}" | xargs -P2 -n8 "$tidy" -p "$database" --quiet \
    --header-filter="$filter" --extra-arg=--target=x86_64-w64-mingw32 \
    "--extra-arg=-isystem$gcc_cxx" "--extra-arg=-isystem$gcc_cxx/x86_64-w64-mingw32" \
    "--extra-arg=-isystem$gcc_cxx/backward" --extra-arg=-isystem/usr/x86_64-w64-mingw32/include \
    >>"$out" 2>/dev/null || status=1
fi
if [ $status -ne 0 ]; then
  grep -E '(error|warning):' "$out" | sort -u
  echo "check-naming: names out of the convention (.clang-tidy)" >&2
  exit 1
fi
echo "check-naming: $((${#linux[@]} + ${#windows[@]})) translation units keep one naming convention"
