#!/usr/bin/env bash
# Regenerates the tables of BENCHMARKS.md in one run:
#
#   scripts/benchmark.sh [--runs N] [--sizes 1080,2160,4320] [--pages reused|fresh]
#
# Builds the benchmark program and the Linux plug-in it loads at the
# deliverables' level (Release: -O3, no -march) into build/benchmark, and
# Glimster.aex with the Windows substitute host as shipped (the mingw-w64 cross
# build of the linux preset, build/linux/windows). Prints what machine it runs
# on, then the program's tables: once with the C library reusing freed memory
# as usual and once with every large block fresh from the operating system
# (one of the arguments being --pages runs that mode only). Last, the same
# flat and noisy 1080p and 2160p frames, written as files, are captured through
# Glimster.aex by glimster-host.exe under Wine and through Glimster.so by
# glimster-host, each file written checked to be byte for byte the premultiplied frame's
# LodePNG PNG. Then the program's tables once more with the shipped
# Glimster.plugin's x86_64 slice as the plug-in, loaded through macos_runner
# (GlimsterMacOS.so, built Release beside the program), pages reused.
# Arguments go to the program; --runs also sets the Wine runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
dir=build/benchmark
cross=build/linux
mkdir -p build
log=build/benchmark-build.log
if ! { cmake --preset linux -B "$dir" -DCMAKE_BUILD_TYPE=Release -DGLIMSTER_WINDOWS_CROSS=OFF \
       && cmake --build "$dir" -j2 --target glimster_benchmarks glimster-host glimster_macos_runner \
       && { [ -f "$cross/CMakeCache.txt" ] || cmake --preset linux; } \
       && cmake --build "$cross" -j2 --target glimster_windows glimster_macos; } >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "build failed; full log: $log" >&2
  exit 1
fi

echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; RAM: $(free -h | awk '/^Mem:/ {print $2}')"
echo "System: $(uname -sr); compiler: $(c++ --version | head -n 1); $(x86_64-w64-mingw32-g++-win32 --version | head -n 1); $(/usr/lib/wine/wine64 --version)"
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

runs=3
arguments=("$@")
for i in "${!arguments[@]}"; do
  [ "${arguments[$i]}" = --runs ] && runs=${arguments[$((i + 1))]}
done
scripts/benchmark-wine.sh --runs "$runs" --program "$program" \
  --linux-host "$dir/substitute_host/glimster-host" --linux-plugin "$dir/plugin/Glimster.so" \
  --wine-run "$cross/wine/wine-run" --windows-host "$cross/windows/substitute_host/glimster-host.exe" \
  --aex "$cross/windows/plugin/Glimster.aex"
echo
echo "Glimster.plugin's x86_64 slice through macos_runner:"
GLIMSTER_MACOS_BUNDLE="$cross/macos/Glimster.plugin" \
  "$program" --plugin "$dir/macos_runner/GlimsterMacOS.so" "$@" --pages reused
echo
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
