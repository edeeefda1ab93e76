#!/usr/bin/env bash
# Makes the archive a Windows user downloads, on Linux:
# dist/Glimster-<version>-windows-x64.zip with Glimster.aex (the mingw-w64
# cross build of the linux preset), INSTALL.txt, the licence notices of LodePNG
# and winpthreads, and SHA256SUMS. Prints the archive's path; the build log only when it fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
mkdir -p build dist
log=build/package.log
rm -f build/linux/dist/Glimster-*-windows-x64.zip
if ! { { [ -f build/linux/CMakeCache.txt ] || cmake --preset linux; } \
       && cmake --build build/linux -j2 --target glimster_windows_zip; } >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "packaging failed; full log: $log" >&2
  exit 1
fi
zip=(build/linux/dist/Glimster-*-windows-x64.zip)
cp "${zip[0]}" dist/
echo "dist/$(basename "${zip[0]}")"
