#!/usr/bin/env bash
# Sets up and builds Frostember, then runs every test headless under Xvfb with
# Mesa's llvmpipe.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
cd build
echo "Running the tests headless under Xvfb"
exec xvfb-run -a -s "-screen 0 1920x1080x24" \
  ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@"
