#!/usr/bin/env bash
# Makes the archives users download, on Linux, from the cross builds of the
# linux preset:
#   dist/Glimster-<version>-windows-x64.zip: Glimster.aex (mingw-w64), INSTALL.txt,
#     the licence notices of LodePNG and winpthreads, and SHA256SUMS;
#   dist/Glimster-<version>-macos.zip: the universal Glimster.plugin (zig's clang,
#     ld64.lld), INSTALL.txt, the licence notices of LodePNG, libc++ and libc++abi,
#     and SHA256SUMS.
# Prints the archives' paths; the build log only when it fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
mkdir -p build dist
log=build/package.log
rm -f build/linux/dist/Glimster-*-windows-x64.zip build/linux/dist/Glimster-*-macos.zip
if ! { { [ -f build/linux/CMakeCache.txt ] || cmake --preset linux; } \
       && cmake --build build/linux -j2 --target glimster_windows_zip glimster_macos_zip; } >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "packaging failed; full log: $log" >&2
  exit 1
fi
for zip in build/linux/dist/Glimster-*-windows-x64.zip build/linux/dist/Glimster-*-macos.zip; do
  cp "$zip" dist/
  echo "dist/$(basename "$zip")"
done
