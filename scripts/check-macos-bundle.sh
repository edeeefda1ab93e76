#!/usr/bin/env bash
# Checks a built Glimster.plugin, on a Mac with Apple's tools or on Linux
# with LLVM's (llvm-lipo, llvm-nm, llvm-otool; Debian: llvm):
#
#   scripts/check-macos-bundle.sh build/macos/plugin/Glimster.plugin "x86_64"
#   scripts/check-macos-bundle.sh build/macos-universal/plugin/Glimster.plugin "x86_64 arm64"
#   scripts/check-macos-bundle.sh build/linux/macos/Glimster.plugin "x86_64 arm64"   # the cross build
#
# The code holds exactly the architectures given; each slice is a loadable
# bundle (MH_BUNDLE) for macOS 12.1 or later (minos 12.1), with every symbol
# bound (NOUNDEFS, two-level namespace) to libSystem, Foundation,
# CoreFoundation, libobjc or libc++ and to nothing else, exporting only
# _EntryPointFunc; an arm64 slice carries an ad-hoc code signature, which
# Apple silicon requires, and a slice's signature holds: each page and each
# sealed blob or file matches its hash in the code directory; a slice that
# can raise a C++ exception carries the tables and the personality routine
# that catch it. Info.plist and PkgInfo hold what the build configures
# (tests/descriptor/check_bundle_metadata.py); the descriptor, read back from
# Contents/Resources/Glimster.rsrc, names the entry point for each architecture.
set -euo pipefail
cd "$(dirname "$0")/.."

bundle=$1
architectures=$2
contents="$bundle/Contents"
code="$contents/MacOS/Glimster"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Apple's tools where they are, LLVM's otherwise.
tool() {
  local name
  for name in "$@"; do
    if command -v "$name" >/dev/null 2>&1; then echo "$name"; return; fi
  done
  fail "none of $* found (Debian: llvm)"
}
if [ "$(uname -s)" = Darwin ]; then
  lipo=lipo nm=nm otool=otool objdump=objdump dwarfdump=dwarfdump
else
  lipo=$(tool llvm-lipo llvm-lipo-14) nm=$(tool llvm-nm llvm-nm-14) otool=$(tool llvm-otool llvm-otool-14)
  objdump=$(tool llvm-objdump llvm-objdump-14) dwarfdump=$(tool llvm-dwarfdump llvm-dwarfdump-14)
fi
libraries_allowed=(
  /usr/lib/libSystem.B.dylib
  /System/Library/Frameworks/Foundation.framework/Versions/C/Foundation
  /System/Library/Frameworks/CoreFoundation.framework/Versions/A/CoreFoundation
  /usr/lib/libobjc.A.dylib
  /usr/lib/libc++.1.dylib
)

[ -f "$code" ] || fail "no code at $code"
sorted() { tr ' ' '\n' <<<"$1" | sort | xargs; }
found=$("$lipo" -archs "$code" | xargs)
echo "architectures: $found"
[ "$(sorted "$found")" = "$(sorted "$architectures")" ] || fail "architectures $found; expected $architectures"

slices=$(mktemp -d)
trap 'rm -rf "$slices"' EXIT
for arch in $architectures; do
  slice="$slices/$arch"
  if [ "$(wc -w <<<"$found")" -gt 1 ]; then
    "$lipo" "$code" -thin "$arch" -output "$slice"
  else
    cp "$code" "$slice"
  fi

  header=$("$otool" -hv "$slice" | tail -n 1)
  read -r _ _ _ _ filetype _ _ flags <<<"$header"
  echo "$arch: filetype $filetype, flags $flags"
  [ "$filetype" = BUNDLE ] || fail "$arch code is $filetype; expected a loadable bundle (BUNDLE)"
  for flag in NOUNDEFS TWOLEVEL; do
    [[ " $flags " == *" $flag "* ]] || fail "$arch code lacks the $flag flag"
  done

  commands=$("$otool" -l "$slice")
  minos=$(awk '$2 == "LC_BUILD_VERSION" { build = 1 } build && $1 == "minos" { print $2; exit }' <<<"$commands")
  echo "$arch: minos $minos"
  [ "$minos" = 12.1 ] || fail "$arch code needs macOS ${minos:-?}; expected minos 12.1"

  exports=$("$nm" -gU "$slice" | awk '{ print $NF }' | xargs)
  echo "$arch: exports $exports"
  [ "$exports" = _EntryPointFunc ] || fail "$arch code exports $exports; expected only _EntryPointFunc"

  libraries=$("$otool" -L "$slice" | tail -n +2 | awk '{ print $1 }')
  echo "$arch: libraries $(xargs <<<"$libraries")"
  while read -r library; do
    [[ " ${libraries_allowed[*]} " == *" $library "* ]] || fail "$arch code loads $library"
  done <<<"$libraries"

  # Code that can raise a C++ exception must be able to catch it: without the
  # language-specific tables and a personality routine (named by __unwind_info,
  # or by the __eh_frame entries its DWARF-mode functions point to), every
  # throw ends in std::terminate and takes the host down.
  symbols=$("$nm" -m "$slice")
  if grep -qE ' (___cxa_throw|__Unwind_RaiseException)( |$)' <<<"$symbols"; then
    sections=$(awk '$1 == "sectname" { print $2 }' <<<"$commands" | xargs)
    compact=$("$objdump" --macho --unwind-info "$slice" \
              | sed -n 's/^ *Personality functions: (count = \([0-9]*\)).*/\1/p')
    dwarf=$("$dwarfdump" --eh-frame "$slice" | grep -c 'Personality Address' || true)
    personalities=$((${compact:-0} + dwarf))
    tables=$(tr ' ' '\n' <<<"$sections" | grep -E '^__(gcc_except_tab|eh_frame)$' | xargs || true)
    echo "$arch: raises exceptions; tables ${tables:-none}; personality named ${compact:-0} times in __unwind_info, $dwarf in __eh_frame"
    [[ " $sections " == *" __gcc_except_tab "* ]] \
      || fail "$arch code raises exceptions but has no exception tables (__gcc_except_tab)"
    [ "$personalities" -gt 0 ] \
      || fail "$arch code raises exceptions but names no personality routine"
  fi

  # Apple silicon runs no unsigned code; an x86_64 slice may go unsigned,
  # but a signature it has must hold, page by page, as a Mac checks it.
  required=()
  [ "$arch" = arm64 ] && required=(--required)
  python3 tests/package/check_code_signature.py "$slice" "$arch" "$contents" "${required[@]}" \
    || exit 1
done

if command -v plutil >/dev/null 2>&1 && [ "$(uname -s)" = Darwin ]; then plutil -lint "$contents/Info.plist"; fi
version=$(sed -n 's/^project(Glimster VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
python3 tests/descriptor/check_bundle_metadata.py --info-plist "$contents/Info.plist" --pkginfo "$contents/PkgInfo" \
  --version "$version"
python3 tests/descriptor/check_mac_descriptor.py --rsrc "$contents/Resources/Glimster.rsrc" \
  --version "$version" --architectures "$architectures"
