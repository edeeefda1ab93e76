#!/usr/bin/env bash
# Builds everything and runs every test (Linux and, under Wine, Windows);
# ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh
exec ctest --preset linux
