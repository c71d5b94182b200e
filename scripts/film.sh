#!/usr/bin/env bash
# Sets up and builds Frostember, then flies the route and the sunset through the
# replay tool at 30 frames a second and writes the film with its sound to
# docs/flight.mp4 at 640x360. FILM_SIZE=WxH, FILM_FPS=N and FILM_OUT=PATH (.mp4 or
# .webm) change it, e.g. FILM_SIZE=1920x1080 FILM_OUT=flight-hd.mp4 for full size.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

out=${FILM_OUT:-docs/flight.mp4}
case $out in /*) ;; *) out="$PWD/$out" ;; esac
args=(--size "${FILM_SIZE:-640x360}" --video "$out" --fps "${FILM_FPS:-30}")
cd build/run
if [ -n "${DISPLAY:-}" ]; then
  exec ./frostember-replay "${args[@]}"
fi
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
exec xvfb-run -a -s "-screen 0 1920x1080x24" ./frostember-replay "${args[@]}"
