#!/usr/bin/env bash
# The main job: builds everything, then loads the built plug-in into the
# substitute host, which starts it, shows its menu item's state, opens a
# composition and chooses "Take Glimster". Prints what happened and the path
# of the PNG written to the desktop ($HOME/Desktop).
#
# Arguments go to glimster-host (build/linux/substitute_host/glimster-host --help);
# without any, the composition is a 1920x1080 test card named
# "Glimster Démo – Ünïcødé", shown at 2 s (48/24).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh
if [ $# -eq 0 ]; then
  set -- --comp-name "Glimster Démo – Ünïcødé" --size 1920x1080 --time 48/24 --test-card
fi
exec build/linux/substitute_host/glimster-host build/linux/plugin/Glimster.so "$@"
