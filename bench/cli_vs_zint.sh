#!/usr/bin/env bash
# Whole runs of the command-line tool against zint making the same symbol, pair by pair in one
# hyperfine run, so that both see the same machine load.
# Usage: bench/cli_vs_zint.sh [path/to/VeltrixBarCode]
# COUNT=instructions counts each pair's instructions under callgrind instead (whole processes, the
# dynamic loader included), which the machine's load does not change; COUNT=cpu gives the median
# CPU time (user + system) of each, the two run in turn.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The program runs from a copy, as a package installs it and as zint's own sits. The linker writes
# its output a page at a time and the kernel keeps those pages apart in memory; a binary copied with
# large writes starts 0.1-0.3 ms faster a run on this machine, the same bytes.
cp "${1:-build/VeltrixBarCode}" "$out/VeltrixBarCode"
sync "$out/VeltrixBarCode"
cli=$out/VeltrixBarCode

instructions() { # command line; prints the instructions the whole process ran
  eval "valgrind --tool=callgrind --callgrind-out-file=/dev/null $1" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

cpu() { # our command line, zint's; prints the median CPU time of each, in milliseconds
  python3 - "${RUNS:-200}" "$1" "$2" <<'EOF'
import resource, shlex, statistics, subprocess, sys
runs, commands = int(sys.argv[1]), [shlex.split(c) for c in sys.argv[2:]]
def cpu(command):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000
for _ in range(10):
    for command in commands: cpu(command)
times = [[], []]
for _ in range(runs):
    for k, command in enumerate(commands): times[k].append(cpu(command))
ours, theirs = (statistics.median(t) for t in times)
print("  ours %.2f ms  zint %.2f ms  ratio %.2f" % (ours, theirs, ours / theirs))
EOF
}

compare() { # name, our arguments, zint arguments
  echo "== $1"
  if [ "${COUNT:-time}" = cpu ]; then
    cpu "$cli $2" "zint $3"
    return
  fi
  if [ "${COUNT:-time}" = instructions ]; then
    ours=$(instructions "$cli $2") theirs=$(instructions "zint $3")
    awk -v o="$ours" -v z="$theirs" 'BEGIN { printf "  ours %d  zint %d  ratio %.2f\n", o, z, o / z }'
    return
  fi
  hyperfine -N --warmup 10 --runs "${RUNS:-200}" --style basic \
    --command-name "VeltrixBarCode" "$cli $2" \
    --command-name "zint" "zint $3" 2>&1 | grep -E "^(Benchmark|  Time|  Range|.*faster)"
}

compare "EAN-13 with add-on to PNG" \
  "-type EAN-13 -data 501234567890 -addon 12 -action pngf -output $out/v.png" \
  "-b 13 -d 501234567890+12 -o $out/z.png"
compare "EAN-13 with add-on to EPS" \
  "-type EAN-13 -data 501234567890 -addon 12 -action epsf -output $out/v.eps" \
  "-b 13 -d 501234567890+12 -o $out/z.eps"
compare "EAN-13 to EPS" \
  "-type EAN-13 -data 501234567890 -action epsf -output $out/v.eps" \
  "-b 13 -d 501234567890 -o $out/z.eps"

qr=$(printf 'Veltrix BarCode %.0s' $(seq 1 7) | cut -c1-100)
compare "QR Code, 100 characters, to PNG" \
  "-type QRCode -data '$qr' -action pngf -output $out/v.png" \
  "-b 58 -d '$qr' -o $out/z.png"
pdf500=$(printf 'PDF417 TEXT %.0s' $(seq 1 50) | cut -c1-500)
compare "PDF417, 500 characters, to PNG" \
  "-type PDF417 -data '$pdf500' -action pngf -output $out/v.png" \
  "-b 55 -d '$pdf500' -o $out/z.png"
pdf1850=$(printf '0123456789%.0s' $(seq 1 185))
compare "PDF417, 1850 digits, to PNG" \
  "-type PDF417 -data $pdf1850 -action pngf -output $out/v.png" \
  "-b 55 -d $pdf1850 -o $out/z.png"

# Printer resolution: 300 dpi makes each module 4 pixels (one point at 288 dpi, the whole number of
# pixels nearest to 300 dpi). zint's --scale counts half modules per pixel: --scale=2 is 4 pixels a
# module, and a QR Code module (3 points here) --scale=6.
compare "EAN-13 to PNG at 300 dpi" \
  "-type EAN-13 -data 501234567890 -dpi 300 -action pngf -output $out/v.png" \
  "-b 13 -d 501234567890 --scale=2 -o $out/z.png"
compare "Code 128 to PNG at 300 dpi" \
  "-type Code-128 -data VELTRIX-4711 -dpi 300 -action pngf -output $out/v.png" \
  "-b 20 -d VELTRIX-4711 --scale=2 -o $out/z.png"
compare "QR Code, 100 characters, to PNG at 300 dpi" \
  "-type QRCode -data '$qr' -dpi 300 -action pngf -output $out/v.png" \
  "-b 58 -d '$qr' --scale=6 -o $out/z.png"
compare "PDF417, 500 characters, to PNG at 300 dpi" \
  "-type PDF417 -data '$pdf500' -dpi 300 -action pngf -output $out/v.png" \
  "-b 55 -d '$pdf500' --scale=2 -o $out/z.png"
compare "EAN-13 to TIFF at 300 dpi" \
  "-type EAN-13 -data 501234567890 -dpi 300 -action tiff -output $out/v.tif" \
  "-b 13 -d 501234567890 --scale=2 -o $out/z.tif"
compare "EAN-13 to SVG" \
  "-type EAN-13 -data 501234567890 -action svgf -output $out/v.svg" \
  "-b 13 -d 501234567890 -o $out/z.svg"
