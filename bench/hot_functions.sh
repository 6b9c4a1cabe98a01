#!/usr/bin/env bash
# Lists the functions of the command-line tool that typical runs execute, into
# src/cli/HotFunctions.txt, from which the linker (lld) lays them out side by side: a run then
# faults in fewer pages of the program's 8 MB of code (EAN-13 with add-on to PNG: 177 page faults
# laid out as GNU ld leaves them, 140 side by side). Run it again when the code has changed much;
# names it no longer finds are skipped.
# Usage: bench/hot_functions.sh [path/to/VeltrixBarCode]
set -euo pipefail
cli=$(realpath "${1:-build/VeltrixBarCode}")
list=$(realpath "$(dirname "$0")/../src/cli")/HotFunctions.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

qr=$(printf 'Veltrix BarCode %.0s' $(seq 1 7) | cut -c1-100)
pdf=$(printf 'PDF417 TEXT %.0s' $(seq 1 50) | cut -c1-500)
runs=( # start-up first, then the runs that are timed against zint, then the other formats
  "-bogus"
  "-type EAN-13 -data 501234567890 -addon 12 -action pngf -output $work/a.png"
  "-type EAN-13 -data 501234567890 -addon 12 -action epsf -output $work/a.eps"
  "-type QRCode -data '$qr' -action pngf -output $work/c.png"
  "-type PDF417 -data '$pdf' -action pngf -output $work/d.png"
  "-type Code-128 -data VELTRIX-4711 -dpi 300 -action pngf -output $work/e.png"
  "-type EAN-13 -data 501234567890 -dpi 300 -action pngf -output $work/b.png"
  "-type Code-128 -data VELTRIX-4711 -action pdff -output $work/f.pdf"
  "-type EAN-13 -data 501234567890 -action tiff -output $work/g.tif"
)
n=0
for run in "${runs[@]}"; do
  n=$((n + 1))
  eval "valgrind --tool=callgrind --demangle=no --callgrind-out-file=$work/cg.$n $cli $run" \
    >/dev/null 2>&1 || true
done
# The functions of the program itself (not of the shared libraries), by their linker names, in
# the order of the first run that executes them.
for profile in $(seq -f "$work/cg.%g" 1 "$n"); do
  callgrind_annotate --threshold=100 "$profile" |
    grep -F "[$cli]" | sed -E 's/^ *[0-9,]+ +(\([^)]*\))? *//; s/^\?\?\?://; s/ \[.*$//' |
    grep -v -e '^(' -e '^0x' -e "'" | LC_ALL=C sort -u
done | awk '!seen[$0]++' >"$list"
echo "$(wc -l <"$list") functions in $list"
