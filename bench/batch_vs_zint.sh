#!/usr/bin/env bash
# Batches of the command-line tool against `zint --batch` making the same symbols into the same
# format: 10 000 EAN-13 PNGs, 10 000 Code 128 EPS files and 1 000 QR Code PNGs of 100 characters,
# each with zint, with one job and with every core, in one hyperfine run per pair. Then the peak
# memory of a batch of 10 000 and of 1 000 000 rows.
#
# Usage: bench/batch_vs_zint.sh [path/to/VeltrixBarCode]
#   RUNS=n         runs of each command (default 5)
#   MEMORY_ROWS=n  rows of the memory run (default 1000000; 0 skips it)
#   OUT=folder     where the files go (default /dev/shm): on a disk, making each file's inode
#                  costs both programs alike and hides the difference between them.
set -euo pipefail
cli=$(realpath "${1:-build/VeltrixBarCode}")
base=${OUT:-/dev/shm}
[ -d "$base" ] || base=/tmp
work=$(mktemp -d "$base/vxbatch-XXXXXX")
trap 'rm -rf "$work"' EXIT
# Run from a copy, as installed (see cli_vs_zint.sh).
cp "$cli" "$work/VeltrixBarCode"
cli=$work/VeltrixBarCode
cd "$work"

# The same rows for both: zint reads one item a line, the tool a CSV file with a data column.
python3 - "${MEMORY_ROWS:-1000000}" <<'EOF'
import csv, random, string, sys
random.seed(20261207)
def digits(n):
    return ''.join(random.choice(string.digits) for _ in range(n))
text = string.ascii_letters + string.digits + ' -.,;:!?()[]#+*/=%&@$'
lists = {
    'ean': [digits(12) for _ in range(10000)],
    'code128': [''.join(random.choice(text) for _ in range(random.randint(8, 24)))
                for _ in range(10000)],
    'qr': [''.join(random.choice(text) for _ in range(100)) for _ in range(1000)],
    'million': [digits(12) for _ in range(int(sys.argv[1]))],
}
for name, rows in lists.items():
    if name != 'million':
        with open(name + '.txt', 'w') as f:
            f.write('\n'.join(rows) + '\n')
    with open(name + '.csv', 'w', newline='') as f:
        writer = csv.writer(f)
        writer.writerow(['data'])
        writer.writerows([row] for row in rows)
EOF

compare() { # title, zint arguments, the tool's arguments
  echo "== $1 ($(nproc) cores)"
  hyperfine --runs "${RUNS:-5}" --style basic --prepare "rm -rf z v; mkdir z v" \
    --command-name "zint --batch" "zint --batch $2" \
    --command-name "VeltrixBarCode -jobs 1" "$cli -batch $3 -jobs 1" \
    --command-name "VeltrixBarCode, every core" "$cli -batch $3" 2>&1 |
    grep -v "^$"
}

compare "10 000 EAN-13 to PNG" "-b 13 --filetype=png -i ean.txt -o z/~~~~~.png" \
  "ean.csv -type EAN-13 -action pngf -output v/{row}.png"
compare "10 000 Code 128 to EPS" "-b 20 --filetype=eps -i code128.txt -o z/~~~~~.eps" \
  "code128.csv -type Code-128 -action epsf -output v/{row}.eps"
compare "1 000 QR Code of 100 characters to PNG" "-b 58 --filetype=png -i qr.txt -o z/~~~~.png" \
  "qr.csv -type QRCode -action pngf -output v/{row}.png"

memory() { # csv file, rows
  rm -rf m
  /usr/bin/time -f "%M %e" -o time.txt "$cli" -batch "$1" -type EAN-13 -action pngf \
    -output 'm/{row}.png' >/dev/null 2>&1
  read -r kb seconds <time.txt
  echo "== $2 EAN-13 rows to PNG: peak resident memory $((kb / 1024)) MB ($kb KB), $seconds s"
  rm -rf m
}
memory ean.csv 10000
if [ "${MEMORY_ROWS:-1000000}" -gt 0 ]; then memory million.csv "${MEMORY_ROWS:-1000000}"; fi
