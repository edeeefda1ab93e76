#!/usr/bin/env bash
# The capture as shipped for Windows against the Linux plug-in, on the same
# frames: prints a Markdown table. Run by scripts/benchmark.sh, which builds
# everything it names:
#
#   scripts/benchmark-wine.sh --runs N --program glimster_benchmarks
#       --linux-host glimster-host --linux-plugin Glimster.so
#       --wine-run wine-run --windows-host glimster-host.exe --aex Glimster.aex
#
# The benchmark program writes the flat and noisy 1080p and 2160p pictures as
# LodePNG's PNG of their straight pixels, and beside each the PNG of the
# premultiplied frame a host renders from it; each host captures each picture
# N times (--frame-png, which premultiplies it, into a folder given with
# --desktop). A time is the command's as the host prints it ("took:"), the
# median of the runs; every PNG written must be byte for byte the
# premultiplied frame's, or the script fails.
set -euo pipefail

declare -A arg
while [ $# -gt 0 ]; do
  arg[${1#--}]=$2
  shift 2
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"${arg[program]}" --export-frames "$work/frames" --sizes 1080,2160

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# capture <linux|wine> <frame.png>: one capture into an empty folder; prints
# the time it took; fails unless exactly one file, equal to the premultiplied
# frame, is there.
capture() {
  local out="$work/desktop" took
  rm -rf "$out"
  mkdir "$out"
  if [ "$1" = wine ]; then
    took=$("${arg[wine-run]}" "${arg[windows-host]}" "$(windows_path "$(realpath "${arg[aex]}")")" \
             --comp-name Bench --frame-png "$(windows_path "$2")" --desktop "$(windows_path "$out")")
  else
    took=$("${arg[linux-host]}" "${arg[linux-plugin]}" --comp-name Bench --frame-png "$2" --desktop "$out")
  fi
  local written=("$out"/*.png)
  if [ ${#written[@]} -ne 1 ] || ! cmp -s "${written[0]}" "${2%.png}.premultiplied.png"; then
    echo "benchmark-wine: $1 capture of $(basename "$2") did not write the frame's PNG" >&2
    exit 1
  fi
  sed -n 's/^took: \([0-9.]*\) ms.*/\1/p' <<<"$took"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

"${arg[wine-run]}" --boot >/dev/null
echo "### Capture through Glimster.aex under Wine and through Glimster.so (ms)"
echo
echo "Glimster.aex: $(realpath --relative-to=. "${arg[aex]}") (mingw-w64, Release); Glimster.so: $(realpath --relative-to=. "${arg[linux-plugin]}") (Release); ${arg[runs]} runs per frame, medians"
echo
echo "| frame | content | Glimster.aex under Wine | Glimster.so | Wine / Linux | PNG bytes | byte check |"
echo "|---|---|--:|--:|--:|--:|---|"
for size in 1920x1080 3840x2160; do
  for content in flat noise; do
    frame="$work/frames/$size-$content.png"
    declare -A took=()
    for host in wine linux; do
      took[$host]=$(for ((run = 0; run < ${arg[runs]}; ++run)); do capture $host "$frame"; done | median)
    done
    ratio=$(awk -v w="${took[wine]}" -v l="${took[linux]}" 'BEGIN { printf "%.2f", w / l }')
    echo "| $size | $content | ${took[wine]} | ${took[linux]} | $ratio | $(stat -c %s "${frame%.png}.premultiplied.png") | identical |"
  done
done
