#!/usr/bin/env bash
# The main job: builds everything (the deliverables Glimster.aex and
# Glimster.plugin, the test plug-in, the substitute host, the tests), then
# loads the test plug-in into the substitute host, which starts it, shows its menu item's state, opens a
# composition and chooses "Take Glimster". Prints what happened and the path
# of the PNG written to the desktop ($HOME/Desktop).
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

settings=(--comp-name "Glimster Démo – Ünïcødé" --time 48/24)
size=(--size 1920x1080)
source=(--test-card)
given=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    --noise | --frame-png) source=() ;;&
    --frame-png) size=() ;;
    --demo) source=() size=() settings=() ;;
    --test-card) source=() ;;
  esac
  case "$1" in
    --comp-name | --size | --time | --noise | --frame-png | --desktop | --repeat | --fail | --refuse-suite)
      shift ;;  # its value is no option
  esac
  [ $# -gt 0 ] && shift
done
exec build/linux/substitute_host/glimster-host build/linux/plugin/Glimster.so \
  "${settings[@]}" "${size[@]}" "${source[@]}" "${given[@]}"
