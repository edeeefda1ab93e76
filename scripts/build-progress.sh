#!/usr/bin/env bash
# Reads the output of a build of the linux preset on standard input and
# prints the progress a person can follow: the first line of work announces
# the build ("Building WHAT...", WHAT the only argument), then each target
# built after work, with the name of the build it belongs to and its
# percentage in that build:
#     Windows         25%  built glimster_descriptor
# A cross build's lines come prefixed with its name in brackets (by
# cmake/cross/label-lines.sh, the external project's build command), the other
# lines are the Linux build's own. make prints "[ NN%] Building ..." only for
# work to do (an external project's always-run build step says "Performing":
# not work by itself, its own compiles print Building lines). The builds run
# side by side and each one's percentages can step back under parallel jobs:
# a percentage below one already shown for the same build is left out.
set -uo pipefail
what=$1

declare -A dirty=() shown=()
started=false
work='^\[ *([0-9]+)%\] (Building|Linking|Generating) '
built='^\[ *([0-9]+)%\] Built target (.*)$'
labelled='^\[([^]]+)\] (.*)$'
while IFS= read -r line || [ -n "$line" ]; do
  build=Linux
  if ! [[ $line =~ $work || $line =~ $built ]] && [[ $line =~ $labelled ]]; then
    build=${BASH_REMATCH[1]}
    line=${BASH_REMATCH[2]}
  fi
  if [[ $line =~ $work ]]; then
    $started || echo "Building $what..."
    started=true
    dirty[$build]=1
  elif [[ $line =~ $built ]] && [ -n "${dirty[$build]:-}" ]; then
    unset "dirty[$build]"
    percent=${BASH_REMATCH[1]}
    if [ "$percent" -ge "${shown[$build]:-0}" ]; then
      shown[$build]=$percent
      printf '  %-14s %3s%%  built %s\n' "$build" "$percent" "${BASH_REMATCH[2]}"
    fi
  fi
done
