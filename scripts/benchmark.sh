#!/usr/bin/env bash
# Sets up and builds Frostember, then benchmarks the route and the sunset through
# the replay tool at 1280x720 and 1920x1080 against an empty-frame floor; prints
# the table and writes it into BENCHMARKS.md. Runs under Xvfb when there is no
# display. BENCH_FRAMES=N caps each run at N frames for a quick look,
# BENCH_SIZES=WxH,... and BENCH_DT=SECONDS change the sizes and the time step;
# BENCH_REALTIME=SECONDS sets the length of the wall-clock runs at 640x360,
# 1280x720 and 1920x1080 (0 skips them), BENCH_REALTIME_SIZES=WxH,... their sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

args=(--replay build/run/frostember-replay --out build/benchmark
      --sizes "${BENCH_SIZES:-1280x720,1920x1080}" --dt "${BENCH_DT:-0.1}" --frames "${BENCH_FRAMES:-0}"
      --realtime "${BENCH_REALTIME:-140}" --realtime-sizes "${BENCH_REALTIME_SIZES:-640x360,1280x720,1920x1080}")
if [ -n "${DISPLAY:-}" ]; then
  exec python3 scripts/benchmark.py "${args[@]}"
fi
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
exec xvfb-run -a -s "-screen 0 1920x1080x24" python3 scripts/benchmark.py "${args[@]}"
