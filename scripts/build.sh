#!/usr/bin/env bash
# Configures (once) and builds everything of the linux preset: the test
# plug-in, Glimster.aex, the substitute host, the tests and the benchmarks.
# Prints the build log only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p build
log=build/build.log
if { [ -f build/linux/CMakeCache.txt ] || cmake --preset linux; } >"$log" 2>&1 \
   && cmake --build --preset linux >>"$log" 2>&1; then
  exit 0
fi
tail -n 80 "$log"
echo "build failed; full log: $log" >&2
exit 1
