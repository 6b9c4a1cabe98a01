#!/bin/sh
# Runs a command on its own virtual display with its own session bus, as the desktop tests need.
# Each run starts its search for a free display number at its own place, so parallel runs do
# not race for the same one. Under LeakSanitizer, the system libraries' lifelong caches are not
# reported (their allocations are told apart by full stacks). A GTK critical ends the run: it
# marks a widget used after its time, the start of a crash.
here=$(cd "$(dirname "$0")" && pwd)
LSAN_OPTIONS="suppressions=$here/lsan.supp:fast_unwind_on_malloc=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
exec xvfb-run -a -n $((100 + $$ % 5000)) -s "-screen 0 1280x1024x24" dbus-run-session -- \
  env GTK_A11Y=none GSK_RENDERER=cairo G_DEBUG=fatal-criticals "$@"
