#!/usr/bin/env bash
# Checks a built Glimster.plugin on a Mac with Apple's tools (run by the CI
# workflow; the README lists the same checks):
#
#   scripts/check-macos-bundle.sh build/macos/plugin/Glimster.plugin "x86_64"
#   scripts/check-macos-bundle.sh build/macos-universal/plugin/Glimster.plugin "x86_64 arm64"
#
# The code holds exactly the architectures given and exports only
# _EntryPointFunc in each; Info.plist passes plutil -lint and carries the
# project's version; PkgInfo is the 8 bytes AEgxFXTC; the descriptor, read
# back from Contents/Resources/Glimster.rsrc, names the entry point for each
# architecture.
set -euo pipefail
cd "$(dirname "$0")/.."

bundle=$1
architectures=$2
contents="$bundle/Contents"
code="$contents/MacOS/Glimster"
fail() { echo "FAIL: $*" >&2; exit 1; }

sorted() { tr ' ' '\n' <<<"$1" | sort | xargs; }
found=$(lipo -archs "$code")
echo "architectures: $found"
[ "$(sorted "$found")" = "$(sorted "$architectures")" ] || fail "architectures $found; expected $architectures"

for arch in $architectures; do
  exports=$(nm -gU -arch "$arch" "$code" | awk '{ print $NF }' | xargs)
  echo "exports ($arch): $exports"
  [ "$exports" = _EntryPointFunc ] || fail "$arch code exports $exports; expected only _EntryPointFunc"
done

plutil -lint "$contents/Info.plist"
version=$(sed -n 's/^project(Glimster VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for key in CFBundleShortVersionString CFBundleVersion; do
  value=$(plutil -extract "$key" raw "$contents/Info.plist")
  echo "$key: $value"
  [ "$value" = "$version" ] || fail "$key is $value; expected $version"
done

[ "$(wc -c <"$contents/PkgInfo" | xargs)" = 8 ] && [ "$(cat "$contents/PkgInfo")" = AEgxFXTC ] \
  || fail "PkgInfo is not exactly AEgxFXTC"
echo "PkgInfo: AEgxFXTC"

python3 tests/descriptor/check_mac_descriptor.py --rsrc "$contents/Resources/Glimster.rsrc" \
  --version "$version" --architectures "$architectures"
