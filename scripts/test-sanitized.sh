#!/usr/bin/env bash
# Builds the test plug-in, the substitute host and the tests with
# AddressSanitizer and UndefinedBehaviorSanitizer (the linux-sanitize preset,
# into build/linux-sanitize) and runs the tests. Prints one line when they
# pass, the end of the log when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p build
log=build/sanitize.log
# Configured again whenever the presets changed (see build.sh).
presets=$(sha256sum CMakePresets.json | cut -d' ' -f1)
stamp=build/linux-sanitize/.presets.sha256
if { { [ -f build/linux-sanitize/CMakeCache.txt ] && [ "$(cat "$stamp" 2>/dev/null)" = "$presets" ]; } \
     || { cmake --preset linux-sanitize && echo "$presets" >"$stamp"; }; } >"$log" 2>&1 \
   && cmake --build --preset linux-sanitize >>"$log" 2>&1 \
   && ctest --preset linux-sanitize >>"$log" 2>&1; then
  echo "sanitized tests: $(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)"
  exit 0
fi
tail -n 200 "$log"
echo "sanitized build or tests failed; full log: $log" >&2
exit 1
