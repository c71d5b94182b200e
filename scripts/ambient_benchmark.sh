#!/usr/bin/env bash
# Sets up and builds Frostember, then measures frostember-ambient full screen:
# pace and render scale over a loop and across the cut, processor use while
# unmapped, start-up to the first frame and resident memory over an hour of
# loops; writes the tables into BENCHMARKS.md. Runs under a 1920 x 1080 Xvfb
# when there is no display. AMBIENT_LOOP, AMBIENT_HIDDEN and AMBIENT_MEMORY set
# the seconds of each run and AMBIENT_STARTUP_RUNS the start-ups (0 skips one);
# AMBIENT_MEMORY_WINDOW=WxH makes the memory run in a window of that size, for a
# machine too loaded for the render scale to move at full HD.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

args=(--loop "${AMBIENT_LOOP:-175}" --hidden "${AMBIENT_HIDDEN:-10}"
      --startup-runs "${AMBIENT_STARTUP_RUNS:-5}" --memory "${AMBIENT_MEMORY:-3600}"
      --memory-window "${AMBIENT_MEMORY_WINDOW:-}")
if [ -n "${DISPLAY:-}" ]; then
  exec python3 scripts/ambient_benchmark.py "${args[@]}"
fi
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
exec xvfb-run -a -s "-screen 0 1920x1080x24" python3 scripts/ambient_benchmark.py "${args[@]}"
