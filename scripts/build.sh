#!/usr/bin/env bash
# Configures (once) and builds the linux preset: everything (the test
# plug-in, Glimster.aex, the substitute host, the tests and the benchmarks),
# or only the targets named (scripts/build.sh Glimster glimster-host).
# Says what it configures and builds, target by target, naming the build each
# target belongs to (scripts/build-progress.sh); prints nothing when all is
# built already, and the end of the build log (build/build.log) when the
# build fails.
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p build
# Each run's log follows the logs of the runs before, so a build that had
# nothing to do keeps the log of the one that did.
log=build/build.log
echo "==== scripts/build.sh $*: $(date -u '+%Y-%m-%d %H:%M:%S UTC')" >>"$log"
fail() {
  tail -n 80 "$log"
  echo "build failed; full log: $log" >&2
  exit 1
}

# Configured again whenever the presets changed, so that a tree made before
# takes their new settings.
presets=$(sha256sum CMakePresets.json | cut -d' ' -f1)
if [ ! -f build/linux/CMakeCache.txt ] || [ "$(cat build/linux/.presets.sha256 2>/dev/null)" != "$presets" ]; then
  echo "Configuring the build in build/linux with CMake (usually under a minute)..."
  cmake --preset linux >>"$log" 2>&1 || fail
  echo "$presets" >build/linux/.presets.sha256
fi

targets=()
for target in "$@"; do targets+=(--target "$target"); done
if [ $# -eq 0 ]; then
  what="everything: plug-in, Glimster.aex, Glimster.plugin, substitute host, tests, benchmarks (a first build usually takes 8-10 minutes on 2 cores)"
else
  what="$* (a first build usually takes 3-5 minutes on 2 cores)"
fi
cmake --build --preset linux "${targets[@]}" 2>&1 | tee -a "$log" | scripts/build-progress.sh "$what" || fail
