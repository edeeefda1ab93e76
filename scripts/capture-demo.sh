#!/usr/bin/env bash
# The main job: builds everything (the deliverables Glimster.aex and
# Glimster.plugin, the test plug-in, the substitute host, the tests), then
# captures a frame through the code of each deliverable, each loaded by the
# substitute host, which starts it, shows its menu item's state, opens a
# composition and chooses "Take Glimster":
#   Glimster.so, the Linux build the tests load;
#   Glimster.plugin's x86_64 slice and its arm64 slice (under qemu-aarch64),
#     each through macos_runner (glimster-host --macos), given the same home
#     folder as a Mac allows, through CFFIXED_USER_HOME (its Foundation never
#     reads HOME);
#   Glimster.aex, through glimster-host.exe under Wine (build/linux/wine/wine-run).
# Each "plug-in:" line names the code that wrote the file, and so does the
# composition's name, which the file takes (with --demo, whose name is fixed,
# the runs are a second apart instead, so that none replaces another's file).
# Then makes the downloads in dist/ (scripts/package.sh) and ends with a
# summary: each deliverable and the file it wrote, and the downloads.
#
# The composition and the options: scripts/demo-settings.sh; --help says
# them. A usage error stops the demo at the first capture, said once.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-settings.sh
demo_parse "$@"

host=build/linux/substitute_host/glimster-host
if $demo_help; then
  cat <<'EOF'
usage: scripts/capture-demo.sh [OPTIONS]

Builds everything, then captures a frame through each deliverable's code:
Glimster.so, Glimster.plugin's x86_64 and arm64 slices (through macos_runner)
and Glimster.aex (glimster-host.exe under Wine); then makes the downloads in
dist/ (scripts/package.sh) and sums up the files written.

The demo's settings:
  composition  "Glimster Démo – Ünïcødé", the code that captures it after the name
  size         1920x1080
  time         48/24 (2 s)
  frame        the test card
  desktop      $HOME/Desktop

OPTIONS are glimster-host's, as --opt VALUE or --opt=VALUE, added to these
settings: a value given replaces the demo's (--size 640x360), another frame
source replaces the test card (--noise 7), and what that source fixes itself
is left to it (the size of --frame-png; everything of --demo).

EOF
  if [ -x "$host" ]; then
    echo "glimster-host's help:"
    "$host" --help
  else
    echo "glimster-host's options: see its help, $host --help, once it is built (scripts/build.sh glimster-host)."
  fi
  exit 0
fi

scripts/install-dependencies.sh
scripts/build.sh
wine=build/linux/wine/wine-run
if [ ! -f build/linux/wine/prefix/.glimster-prefix ]; then
  echo "Making the Wine prefix for the Windows capture in build/linux/wine (usually under a minute)..."
fi
"$wine" --boot >/dev/null
# Wine reads the arguments (the composition's name) in the locale's character set.
wine_locale=()
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || wine_locale=(env LC_ALL=C.UTF-8)
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
summary=()
for code in linux macos-x86_64 macos-arm64 windows; do
  case $code in
    linux)
      what="Glimster.so" heading="Glimster.so" label="" plugin=("$host" build/linux/plugin/Glimster.so) ;;
    macos-*)
      what="Glimster.plugin, macOS ${code#macos-} slice" label=" (macOS ${code#macos-})"
      heading="the Mac code$label" plugin=("$host" --macos "${code#macos-}")
      export CFFIXED_USER_HOME="$HOME" ;;
    windows)
      what="Glimster.aex, Windows x64" label=" (Windows x64)"
      heading="the Windows code, Glimster.aex under Wine$label"
      plugin=("${wine_locale[@]}" "$wine" build/linux/windows/substitute_host/glimster-host.exe
              "$(windows_path "$PWD/build/linux/windows/plugin/Glimster.aex")"
              --desktop "$(windows_path "$HOME/Desktop")") ;;
  esac
  $demo_fixed && [ "$code" != linux ] && sleep 1
  demo_arguments "$label"
  echo
  echo "Capturing through $heading:"
  set +e
  "${plugin[@]}" "${demo_host_arguments[@]}" | tee "$output"
  run=${PIPESTATUS[0]}
  set -e
  [ "$run" -eq 2 ] && exit 2  # a usage error: the same for every capture
  [ "$run" -eq 0 ] || status=$run
  written=$(sed -n 's/^wrote: //p' "$output" | tail -n 1)
  [ "$code" = windows ] && [[ $written == Z:* ]] && { written=${written#Z:}; written=${written//\\//}; }
  summary+=("$(printf '  %-38s %s' "$what" "${written:-no file (exit status $run)}")")
done

echo
echo "Making the downloads in dist/ (scripts/package.sh)..."
downloads=$(scripts/package.sh) || { echo "$downloads"; exit 1; }

echo
echo "Summary:"
printf '%s\n' "${summary[@]}"
echo "  Downloads, in $PWD/dist: $(echo $downloads | sed 's|dist/||g; s/ /, /g')"
exit $status
