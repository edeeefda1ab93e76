#!/usr/bin/env bash
# Runs a command, the build of one of the cross builds, and prints each line of
# its output (standard output and error, in the order written) prefixed with
# the build's name in brackets, so that the lines of builds running side by
# side can be told apart: scripts/build-progress.sh names each build's
# progress by it. Exits with the command's status.
#
#   label-lines.sh LABEL COMMAND [ARGUMENT]...
set -o pipefail
label=$1
shift
"$@" 2>&1 | while IFS= read -r line || [ -n "$line" ]; do
  printf '[%s] %s\n' "$label" "$line"
done
