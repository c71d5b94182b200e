#!/usr/bin/env bash
# Sets up and builds Frostember, then runs every test headless under Xvfb with
# Mesa's llvmpipe; with GALLIUM_DRIVER=zink set, on zink over lavapipe (Mesa's
# OpenGL on Vulkan, which behaves more like a GPU's driver) instead. Cases that
# driver cannot do are skipped, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
driver=${GALLIUM_DRIVER:-llvmpipe}
if [ "$driver" != zink ]; then
  driver=llvmpipe
fi
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=$driver
# zink's Vulkan loader wants a runtime directory of the user's own.
scratch=""
if [ "$driver" = zink ] && [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  scratch=$(mktemp -d)
  export XDG_RUNTIME_DIR=$scratch
fi
trap '[ -z "$scratch" ] || rm -rf "$scratch"' EXIT
cd build
echo "Running the tests headless under Xvfb on $driver"
xvfb-run -a -s "-screen 0 1920x1080x24" \
  ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@"
