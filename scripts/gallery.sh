#!/usr/bin/env bash
# Sets up and builds Frostember, then flies the route and the sunset through the
# replay tool and writes the gallery's captures into docs/ (docs/t0020.0.png for the
# view at 20 s of route time). The time step of 0.1 s keeps route time exact.
# GALLERY_SIZE=WxH changes the image size.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# The start, the fireplace, the side table by the left windows, the tree, the
# sofa with the cat before a front window, and the held end view once the sunset
# has turned the light.
times=0.5,10,30,45,55,136.5
args=(--size "${GALLERY_SIZE:-1280x720}" --dt 0.1 --until-end --capture "$times" --out "$PWD/docs")
cd build/run
if [ -n "${DISPLAY:-}" ]; then
  exec ./frostember-replay "${args[@]}"
fi
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
exec xvfb-run -a -s "-screen 0 1920x1080x24" ./frostember-replay "${args[@]}"
