#!/usr/bin/env bash
# Makes what users download, on Linux, from the cross builds of the linux
# preset, into dist/:
#   Glimster-<version>-windows-x64.zip: Glimster.aex (mingw-w64), INSTALL.txt,
#     the licence notices of LodePNG, the mingw-w64 runtime and GCC's runtime,
#     and SHA256SUMS;
#   Glimster-<version>-windows-x64.msi: the installer of the same Glimster.aex,
#     with a README and the same notices (wixl);
#   Glimster-<version>-macos.zip: the universal Glimster.plugin (zig's clang,
#     ld64.lld), INSTALL.txt, the licence notices of LodePNG, libc++ and
#     libc++abi, and SHA256SUMS;
#   SHA256SUMS: the SHA-256 of each of those three.
# Prints their paths; the build log only when it fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
mkdir -p build dist
log=build/package.log
downloads='Glimster-*-windows-x64.zip Glimster-*-windows-x64.msi Glimster-*-macos.zip'
(shopt -s nullglob; cd build/linux/dist 2>/dev/null && rm -f $downloads)
if ! { { [ -f build/linux/CMakeCache.txt ] || cmake --preset linux; } \
       && cmake --build build/linux -j2 --target glimster_windows_zip glimster_windows_msi glimster_macos_zip; } \
     >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "packaging failed; full log: $log" >&2
  exit 1
fi
(shopt -s nullglob; cd dist && rm -f $downloads SHA256SUMS)
cd build/linux/dist
for download in $downloads; do
  cp "$download" ../../../dist/
  echo "dist/$download"
done
sha256sum $downloads >../../../dist/SHA256SUMS
echo "dist/SHA256SUMS"
