#!/usr/bin/env bash
# The edges measure of scripts/edges.py under an Xvfb screen large enough for the
# 3840x2160 reference, on llvmpipe; arguments go to the replay runs (e.g. --quality high).
set -euo pipefail
cd "$(dirname "$0")/.."
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
exec xvfb-run -a -s "-screen 0 3840x2160x24" /usr/bin/python3 scripts/edges.py "$@"
