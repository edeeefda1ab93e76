#!/usr/bin/env bash
# The main job: builds everything (the deliverables Glimster.aex and
# Glimster.plugin, the test plug-in, the substitute host, the tests), then
# loads the test plug-in into the substitute host, which starts it, shows its menu item's state, opens a
# composition and chooses "Take Glimster". Prints what happened and the path
# of the PNG written to the desktop ($HOME/Desktop). Then captures the same
# frame through the Mac code, Glimster.plugin's x86_64 slice and its arm64
# slice (under qemu-aarch64), each loaded through macos_runner
# (glimster-host --macos) and given the same home folder as a Mac allows,
# through CFFIXED_USER_HOME (its Foundation never reads HOME): each
# "plug-in:" line names the code that wrote the
# file, and so does the composition's name, which the file takes (with --demo,
# whose name is fixed, the runs are a second apart instead, so that none
# replaces another's file).
#
# The composition is a 1920x1080 test card named
# "Glimster Démo – Ünïcødé", shown at 2 s (48/24). Arguments are glimster-host
# options (build/linux/substitute_host/glimster-host --help) added to these
# settings: a value given replaces the demo's, another frame source
# (--noise, --frame-png, --demo) replaces the test card, and what such a
# source fixes itself (the size of --frame-png; name, size and time of
# --demo) is left to it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh

name="Glimster Démo – Ünïcødé"
settings=(--time 48/24)
size=(--size 1920x1080)
source=(--test-card)
demo=false
given=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    --noise | --frame-png) source=() ;;&
    --frame-png) size=() ;;
    --demo) source=() size=() settings=() demo=true ;;
    --test-card) source=() ;;
    --comp-name=*) name=${1#--comp-name=} ;;
    --comp-name) name=${2-} ;;
  esac
  case "$1" in
    --comp-name | --size | --time | --noise | --frame-png | --desktop | --repeat | --fail | --refuse-suite)
      shift ;;  # its value is no option
  esac
  [ $# -gt 0 ] && shift
done

host=build/linux/substitute_host/glimster-host
status=0
for code in linux macos-x86_64 macos-arm64; do
  case $code in
    linux) plugin=(build/linux/plugin/Glimster.so) label="" ;;
    *) plugin=(--macos "${code#macos-}") label=" (macOS ${code#macos-})"
       export CFFIXED_USER_HOME="$HOME" ;;
  esac
  named=()
  if $demo; then
    [ "$code" = linux ] || sleep 1
  else
    named=(--comp-name "$name$label")
  fi
  echo
  echo "Capturing through ${label:+the Mac code}${label:-Glimster.so}:"
  "$host" "${plugin[@]}" "${settings[@]}" "${size[@]}" "${source[@]}" "${given[@]}" "${named[@]}" \
    || status=$?
done
exit $status
