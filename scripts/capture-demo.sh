#!/usr/bin/env bash
# The main job: builds everything, then loads the built plug-in into the
# substitute host, which opens a demo composition and chooses "Take Glimster".
# Prints the path of the PNG written to the desktop ($HOME/Desktop).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
scripts/build.sh
exec build/linux/subhost/glimster-host build/linux/plugin/Glimster.so --demo
