#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzz/, preset linux-fuzz, into
# build/linux-fuzz) and runs the two at once, each for a bounded time from
# its committed corpus, fuzz/corpus/<target>; inputs found on the way are
# kept in build/linux-fuzz/corpus/<target>. Prints one line per target when
# it passes, the end of its log and the failing input's file when not.
#
#   scripts/run-fuzzers.sh [seconds per target, default 60]
#
# To grow the committed corpus: run for longer, then keep a minimal set with
#   build/linux-fuzz/glimster_fuzz_<target> -merge=1 <new folder> fuzz/corpus/<target> build/linux-fuzz/corpus/<target>
# and commit the new folder in place of fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=build/linux-fuzz
mkdir -p build
log=build/fuzz-build.log
if ! { { [ -f $build/CMakeCache.txt ] || (cd fuzz && cmake --preset linux-fuzz); } \
       && (cd fuzz && cmake --build --preset linux-fuzz); } >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "fuzz target build failed; full log: $log" >&2
  exit 1
fi

# libFuzzer options of each target beyond the common ones: the naming target
# needs inputs long enough for paths past the length limit.
declare -A target_options=(
  [naming]="-max_len=8192"
  [repack]="-max_len=4096"
)
# Fuzzes one target; prints its line, or the end of its log and fails.
fuzz() {
  local target=$1 grown=$build/corpus/$1 artifacts=$build/artifacts/$1 log=$build/fuzz-$1.log
  mkdir -p "$grown" "$artifacts"
  # shellcheck disable=SC2086  # the options are separate words
  if ! $build/glimster_fuzz_$target -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" ${target_options[$target]} "$grown" "fuzz/corpus/$target" \
       >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzzing $target failed; failing input in $artifacts/; full log: $log" >&2
    return 1
  fi
  echo "fuzzed $target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") inputs in $seconds s, no failure"
}

# The two targets side by side, one a core.
fuzz naming &
naming=$!
status=0
fuzz repack || status=1
wait $naming || status=1
exit $status
