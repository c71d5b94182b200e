#!/usr/bin/python3
"""How clean the edges are: a 1920x1080 capture against the same moment drawn at
3840x2160 and box-filtered to half size (each output pixel the mean of 2x2), as
PSNR in dB over the RGB channels. Extra arguments go to both replay runs, such as
--quality high or --scale 0.5 (which applies to the 1920x1080 run only)."""
import argparse
import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np


def capture(replay, size, moment, dt, extra, out):
    frames = int(round(moment / dt)) + 1
    subprocess.run([replay, "--size", size, "--dt", str(dt), "--frames", str(frames),
                    "--capture", str(moment), "--out", str(out)] + extra,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=Path(replay).parent)
    width, height = (int(edge) for edge in size.split("x"))
    png = next(Path(out).glob("*.png"))
    raw = subprocess.run(["convert", str(png), "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return np.frombuffer(raw, dtype=np.uint8).reshape(height, width, 3).astype(np.float64)


def psnr(a, b):
    mse = np.mean((a - b) ** 2)
    return float("inf") if mse == 0 else 10.0 * np.log10(255.0 ** 2 / mse)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--replay", default="build/run/frostember-replay")
    parser.add_argument("--time", type=float, default=3.0)
    parser.add_argument("--dt", type=float, default=0.5)
    args, extra = parser.parse_known_args()
    replay = str(Path(args.replay).resolve())
    reference_extra = [e for i, e in enumerate(extra) if e != "--scale" and (i == 0 or extra[i - 1] != "--scale")]
    with tempfile.TemporaryDirectory() as small, tempfile.TemporaryDirectory() as large:
        image = capture(replay, "1920x1080", args.time, args.dt, extra, small)
        big = capture(replay, "3840x2160", args.time, args.dt, reference_extra, large)
    reference = big.reshape(1080, 2, 1920, 2, 3).mean(axis=(1, 3))
    print(f"{psnr(image, reference):.2f} dB")


if __name__ == "__main__":
    sys.exit(main())
