#!/usr/bin/env bash
# Sets up and builds Frostember, then runs it in build/run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open a window on; run it under Xvfb: xvfb-run -a -s '-screen 0 1920x1080x24' bash scripts/run.sh"
  exit 1
fi
cd build/run
echo "Starting Frostember in build/run"
exec ./frostember "$@"
