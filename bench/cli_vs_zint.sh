#!/usr/bin/env bash
# Whole runs of the command-line tool against zint making the same symbol, pair by pair in one
# hyperfine run, so that both see the same machine load.
# Usage: bench/cli_vs_zint.sh [path/to/VeltrixBarCode]
set -euo pipefail
cli=$(realpath "${1:-build/VeltrixBarCode}")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

compare() { # name, our arguments, zint arguments
  echo "== $1"
  hyperfine -N --warmup 10 --runs "${RUNS:-200}" --style basic \
    --command-name "VeltrixBarCode" "$cli $2" \
    --command-name "zint" "zint $3" 2>&1 | grep -E "^(Benchmark|  Time|  Range|.*faster)"
}

compare "EAN-13 with add-on to PNG" \
  "-type EAN-13 -data 501234567890 -addon 12 -action pngf -output $out/v.png" \
  "-b 13 -d 501234567890+12 -o $out/z.png"
compare "EAN-13 to EPS" \
  "-type EAN-13 -data 501234567890 -action epsf -output $out/v.eps" \
  "-b 13 -d 501234567890 -o $out/z.eps"
