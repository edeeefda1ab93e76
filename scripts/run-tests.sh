#!/usr/bin/env bash
# Builds everything and runs every test (Linux and, under Wine, Windows), the
# Linux tests again under the sanitizers, and the fuzz targets; ends with
# ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh
scripts/test-sanitized.sh  # the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
scripts/run-fuzzers.sh     # each fuzz target for 60 seconds
exec ctest --preset linux
