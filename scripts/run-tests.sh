#!/usr/bin/env bash
# Builds everything and runs every test (Linux and, under Wine, Windows), the
# Linux tests again under the sanitizers, and the fuzz targets; ends with
# ctest's summary. Says which stage runs, with how long it usually takes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh
echo "Testing under AddressSanitizer and UndefinedBehaviorSanitizer, in build/linux-sanitize"
echo "  (its first build and the tests usually take 5-7 minutes on 2 cores)..."
scripts/test-sanitized.sh
# 30 seconds a target keeps the whole run well under half an hour on 2 cores;
# scripts/run-fuzzers.sh SECONDS fuzzes longer.
echo "Running the two fuzz targets side by side for 30 seconds (built the first time: under a minute more)..."
scripts/run-fuzzers.sh 30
echo "Running the tests (usually about 3 minutes on 2 cores)..."
exec ctest --preset linux
