#!/usr/bin/env bash
# Builds the benchmark program and the plug-in it loads in the linux preset's
# configuration (RelWithDebInfo) into build/benchmark, prints what machine it
# runs on, then the program's tables: once with the C library reusing freed
# memory as usual and once with every large block fresh from the operating
# system. Arguments go to the program (e.g. --runs 5 --sizes 1080,2160); one
# of them being --pages runs that mode only.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
dir=build/benchmark
mkdir -p build
log=build/benchmark-build.log
if ! { { [ -f "$dir/CMakeCache.txt" ] || cmake --preset linux -B "$dir" -DGLIMSTER_WINDOWS_CROSS=OFF; } >"$log" 2>&1 \
       && cmake --build "$dir" -j2 --target glimster_benchmarks >>"$log" 2>&1; }; then
  tail -n 80 "$log"
  echo "build failed; full log: $log" >&2
  exit 1
fi

echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; RAM: $(free -h | awk '/^Mem:/ {print $2}')"
echo "System: $(uname -sr); compiler: $(c++ --version | head -n 1)"
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

program="$dir/bench/glimster_benchmarks"
if [[ " $* " == *" --pages "* ]]; then
  "$program" "$@"
else
  "$program" --pages reused "$@"
  echo
  "$program" --pages fresh "$@"
fi
echo
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
