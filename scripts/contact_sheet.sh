#!/usr/bin/env bash
# Sets up and builds Frostember, flies the route and the sunset through the replay
# tool with a capture every 5 s at 320x180, and lays them out, each labelled with
# its route time, on docs/route.png. Rerun it whenever the route, the assets or
# the shading change.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

shots=$PWD/build/contact-sheet
rm -rf "$shots"
args=(--size 320x180 --dt 0.1 --until-end --capture-every 5 --out "$shots")
if [ -n "${DISPLAY:-}" ]; then
  (cd build/run && ./frostember-replay "${args[@]}" >/dev/null)
else
  (cd build/run && LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe \
    xvfb-run -a -s "-screen 0 1920x1080x24" ./frostember-replay "${args[@]}" >/dev/null)
fi
python3 scripts/contact_sheet.py docs/route.png 4 "$shots"/t*.png
echo "Contact sheet written to docs/route.png"
