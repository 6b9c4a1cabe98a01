#!/bin/bash
# Time from start to first window on screen: veltrix-barcode against zint-qt, pair by pair on one
# virtual display with one session bus, in one run.
#
#   bash bench/desktop_startup.sh BUILD_DIR [RUNS]
#
# BUILD_DIR is a build with -DVX_BUILD_BENCH=ON (it holds veltrix-barcode and
# vxbench_first_window); RUNS pairs are timed (default 15) after one untimed pair. Each line gives
# both programs' time to their window mapped and to its first frame drawn, and their processor
# time by then; the last lines give the medians. The GTK renderer is the environment's: run with
# GSK_RENDERER=cairo for the one the tests use. Both programs start with empty settings of their
# own, so that neither reads a user's.
set -eu
build=$(cd "${1:?usage: desktop_startup.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-15}
ours=$build/veltrix-barcode
watcher=$build/vxbench_first_window
command -v zint-qt >/dev/null || { echo "zint-qt is not installed (apt-get install zint-qt)" >&2; exit 2; }
[ -x "$ours" ] && [ -x "$watcher" ] || { echo "build $build with -DVX_BUILD_BENCH=ON first" >&2; exit 2; }

if [ -z "${VX_STARTUP_ON_DISPLAY:-}" ]; then
  export VX_STARTUP_ON_DISPLAY=1
  exec xvfb-run -a -n $((200 + $$ % 5000)) -s "-screen 0 1280x1024x24" dbus-run-session -- \
    env GTK_A11Y=none NO_AT_BRIDGE=1 bash "$0" "$build" "$runs"
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_CACHE_HOME=$home/.cache

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "renderer: ${GSK_RENDERER:-default}"
"$watcher" -- "$ours" >/dev/null
"$watcher" -- zint-qt >/dev/null
out=$(mktemp)
printf '%-4s %28s   %28s\n' run "veltrix-barcode map/drawn/cpu" "zint-qt map/drawn/cpu"
for ((i = 1; i <= runs; i++)); do
  a=$("$watcher" -- "$ours")
  b=$("$watcher" -- zint-qt)
  echo "$a $b" >>"$out"
  printf '%-4s %28s   %28s\n' "$i" "$a" "$b"
done
for column in 2 3 5 6; do
  printf '%s ' "$(cut -d' ' -f$column "$out" | median)"
done | awk '{ printf "median first frame: veltrix-barcode %s ms (cpu %s ms), zint-qt %s ms (cpu %s ms)\n", $1, $2, $3, $4 }'
rm -f "$out"
