#!/usr/bin/env python3
"""Runs the replay tool over the route and the sunset, and an empty frame of the
same size as its floor, at each window size; then the program's own loop on the
wall clock at each real-time size, for the flight pace. Prints the tables and puts
them into BENCHMARKS.md between its markers, leaving the rest of that file as it is.

Standard library only. Run from the repository root with a display (scripts/benchmark.sh
does both)."""

import argparse
import csv
import datetime
import math
import os
import re
import statistics
import subprocess
import sys

BEGIN_MARK = "<!-- benchmark table: written by scripts/benchmark.sh -->"
END_MARK = "<!-- end of benchmark table -->"


def percentile(values, fraction):
    """Nearest-rank percentile; NaN for no values."""
    if not values:
        return math.nan
    ordered = sorted(values)
    rank = max(1, math.ceil(fraction * len(ordered)))
    return ordered[rank - 1]


def median(values):
    return statistics.median(values) if values else math.nan


def run_replay(replay, run_dir, args, log_path):
    """Runs one replay; returns its stderr and its own peak resident set in KiB."""
    with open(log_path, "w") as log:
        child = subprocess.Popen([replay] + args, cwd=run_dir, stdout=log, stderr=subprocess.PIPE, text=True)
        err = child.stderr.read()
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"benchmark: {replay} {' '.join(args)} failed ({child.returncode}):\n{err}")
    if "ERROR" in open(log_path).read():
        sys.exit(f"benchmark: OpenGL error during {' '.join(args)}, see {log_path}")
    return err, usage.ru_maxrss


def pass_columns(header):
    """The GPU pass columns of a stats header, in its order, each with a label made from its name."""
    return [(name, name[len("gpu_"):-len("_ms")].replace("_", " "))
            for name in header if name.startswith("gpu_") and name.endswith("_ms")]


def read_column(rows, name):
    return [float(row[name]) for row in rows if row.get(name, "") != ""]


def read_stages(path):
    with open(path) as file:
        return [(row["stage"], float(row["seconds"])) for row in csv.DictReader(file)]


def measure(replay, run_dir, out_dir, size, dt, frames):
    os.makedirs(out_dir, exist_ok=True)
    length = ["--frames", str(frames)] if frames else ["--until-end"]
    files = {name: os.path.join(out_dir, name) for name in
             ("scene.csv", "scene-startup.csv", "floor.csv", "floor-startup.csv")}
    err, scene_rss = run_replay(replay, run_dir, ["--size", size, "--dt", str(dt)] + length +
                                ["--stats", files["scene.csv"], "--startup", files["scene-startup.csv"]],
                                os.path.join(out_dir, "scene.log"))
    with open(files["scene.csv"]) as file:
        reader = csv.DictReader(file)
        rows = list(reader)
    passes = pass_columns(reader.fieldnames or [])
    # The floor runs as many frames as the scene did, at the same size.
    _, floor_rss = run_replay(replay, run_dir, ["--floor", "--size", size, "--frames", str(len(rows)),
                                                "--stats", files["floor.csv"],
                                                "--startup", files["floor-startup.csv"]],
                              os.path.join(out_dir, "floor.log"))
    with open(files["floor.csv"]) as file:
        floor_rows = list(csv.DictReader(file))
    renderer = re.search(r"frostember-replay: renderer (.*)", err)
    return {
        "frames": len(rows),
        "sim_time": float(rows[-1]["sim_time"]) if rows else 0.0,
        "renderer": renderer.group(1) if renderer else "unknown",
        "frame": read_column(rows, "frame_wall_ms"),
        "floor": read_column(floor_rows, "frame_wall_ms"),
        "update": read_column(rows, "update_cpu_ms"),
        "submit": read_column(rows, "submit_cpu_ms"),
        "passes": {label: read_column(rows, column) for column, label in passes},
        "stages": read_stages(files["scene-startup.csv"]),
        "floor_stages": read_stages(files["floor-startup.csv"]),
        "rss_mib": scene_rss / 1024.0,
        "floor_rss_mib": floor_rss / 1024.0,
    }


REALTIME_LINE = re.compile(r"realtime (\d+) frames in ([0-9.]+) s after the first, flight pace ([0-9.]+) %, "
                           r"(\d+) frames over 0.1 s, scale median ([0-9.]+) lowest ([0-9.]+)")


def measure_realtime(replay, run_dir, out_dir, size, seconds):
    """The program's loop on the wall clock: frames, frames per second, the flight pace and the
    render scale it chose."""
    os.makedirs(out_dir, exist_ok=True)
    err, rss = run_replay(replay, run_dir, ["--size", size, "--realtime", str(seconds)],
                          os.path.join(out_dir, "realtime.log"))
    found = REALTIME_LINE.search(err)
    median_frame = re.search(r"median frame ([0-9.]+) ms", err)
    if not found or not median_frame:
        sys.exit(f"benchmark: no flight pace in the replay's output:\n{err}")
    frames, wall = int(found.group(1)), float(found.group(2))
    return {"frames": frames, "wall": wall, "fps": frames / wall if wall > 0 else math.nan,
            "pace": float(found.group(3)), "stalled": int(found.group(4)),
            "scale_median": float(found.group(5)), "scale_lowest": float(found.group(6)),
            "median": float(median_frame.group(1)), "rss_mib": rss / 1024.0}


def realtime_table(results, seconds):
    sizes = list(results)
    lines = [
        "",
        f"Flight on the wall clock: `frostember-replay --realtime {seconds}`, the program's own loop for "
        f"{seconds} s. Flight pace is the route time the camera gained over the time it would have gained "
        "at its designed pace (it stands still on any frame over 0.1 s); the first frame, which holds the "
        "start-up, is left out of every figure, and the pace and frame rate cover the flight up to the end of the "
        "route (the camera holds still after it by design). The render scale is the share of the window's size "
        "the scene was drawn at over the flight, chosen by the loop from its frame times.",
        "",
        "| | " + " | ".join(sizes) + " |",
        "|" + "---|" * (1 + len(sizes)),
    ]
    for label, cell in [("frames per second", lambda r: f"{r['fps']:.1f}"),
                        ("frame time, median", lambda r: f"{r['median']:.2f} ms"),
                        ("flight pace", lambda r: f"{r['pace']:.2f} %"),
                        ("frames over 0.1 s", lambda r: str(r["stalled"])),
                        ("render scale, median (lowest)",
                         lambda r: f"{r['scale_median']:.2f} ({r['scale_lowest']:.2f})"),
                        ("peak resident memory", lambda r: f"{r['rss_mib']:.0f} MiB")]:
        lines.append("| " + label + " | " + " | ".join(cell(results[size]) for size in sizes) + " |")
    return "\n".join(lines) + "\n"


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as file:
        for line in file:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return f"{model}, {os.cpu_count()} logical cores"


def ms(value):
    return "–" if math.isnan(value) else f"{value:.2f} ms"


def ratio(value, floor):
    if math.isnan(value) or math.isnan(floor) or floor <= 0.0:
        return "–"
    return f"{value / floor:.1f}×"


def table(results, sizes, dt, frames_cap):
    def row(label, cells):
        return "| " + label + " | " + " | ".join(cells) + " |"

    header = row("", [f"{size}" for size in sizes] + [f"{size} / floor" for size in sizes])
    rule = "|" + "---|" * (1 + 2 * len(sizes))
    lines = [header, rule]

    def timing(label, values_of, floor_of, statistic):
        values = [statistic(values_of(results[size])) for size in sizes]
        floors = [statistic(floor_of(results[size])) for size in sizes]
        lines.append(row(label, [ms(v) for v in values] + [ratio(v, f) for v, f in zip(values, floors)]))

    timing("frame time, median", lambda r: r["frame"], lambda r: r["floor"], median)
    timing("frame time, 95th percentile", lambda r: r["frame"], lambda r: r["floor"],
           lambda v: percentile(v, 0.95))
    timing("floor: empty frame, median", lambda r: r["floor"], lambda r: r["floor"], median)
    for label in results[sizes[0]]["passes"]:
        timing(f"GPU {label}, median", lambda r, p=label: r["passes"][p], lambda r: r["floor"], median)
    timing("CPU update, median", lambda r: r["update"], lambda r: r["floor"], median)
    timing("CPU submission, median", lambda r: r["submit"], lambda r: r["floor"], median)

    def seconds_row(label, value_of, floor_of):
        values = [value_of(results[size]) for size in sizes]
        floors = [floor_of(results[size]) for size in sizes]
        lines.append(row(label, [f"{v:.3f} s" for v in values] +
                         [ratio(v, f) for v, f in zip(values, floors)]))

    def stage_time(stages, name):
        previous = 0.0
        for stage, seconds in stages:
            if stage == name:
                return seconds - previous
            previous = seconds
        return math.nan

    def first_frame(stages):
        return dict(stages).get("first frame", math.nan)

    seconds_row("start-up to first frame", lambda r: first_frame(r["stages"]),
                lambda r: first_frame(r["floor_stages"]))
    for name, _ in results[sizes[0]]["stages"]:
        seconds_row(f"  {name}", lambda r, n=name: stage_time(r["stages"], n),
                    lambda r, n=name: stage_time(r["floor_stages"], n) if n in ("window", "first frame")
                    else math.nan)
    values = [results[size]["rss_mib"] for size in sizes]
    floors = [results[size]["floor_rss_mib"] for size in sizes]
    lines.append(row("peak resident memory", [f"{v:.0f} MiB" for v in values] +
                     [ratio(v, f) for v, f in zip(values, floors)]))

    first = results[sizes[0]]
    length = (f"the first {frames_cap} frames" if frames_cap else "the whole route and the sunset")
    notes = [
        f"## Frostember benchmark, {datetime.date.today().isoformat()}",
        "",
        f"- Machine: {machine()}",
        f"- Renderer: {first['renderer']}",
        f"- Run: {length} through `frostember-replay --dt {dt}` ({first['frames']} frames, "
        f"{first['sim_time']:.1f} s simulated). A step of {dt} s visits every view of the route in "
        "fewer frames than the real-time pace of 1/60 s; the figures are per frame, not per second.",
        "- Floor: `frostember-replay --floor`, the same window size and as many frames, each a clear and a swap; "
        "the right-hand columns divide each figure by the floor's (frame times by the empty frame, start-up "
        "by the floor's window and first frame, memory by the floor's).",
        "- GPU times come from timer queries around each pass. llvmpipe executes lazily, when a later call "
        "needs the result, so its per-pass attribution is approximate: work can be counted in a later pass.",
        "- Start-up stages are the time from process start (dynamic loading included) to the end of each stage; "
        "indented rows are each stage's own share.",
        "",
    ]
    return "\n".join(notes + lines) + "\n"


def update_benchmarks_file(path, text, begin_mark=BEGIN_MARK, end_mark=END_MARK):
    """Puts `text` between the two markers, or at the end with them where they are missing."""
    block = f"{begin_mark}\n{text}{end_mark}\n"
    if not os.path.exists(path):
        content = "# Benchmarks\n\n" + block
    else:
        content = open(path).read()
        start = content.find(begin_mark)
        end = content.find(end_mark)
        if start >= 0 and end > start:
            content = content[:start] + block + content[end + len(end_mark) + 1:]
        else:
            content = content.rstrip("\n") + "\n\n" + block
    with open(path, "w") as file:
        file.write(content)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--replay", default="build/run/frostember-replay")
    parser.add_argument("--sizes", default="1280x720,1920x1080")
    parser.add_argument("--dt", type=float, default=0.1)
    parser.add_argument("--frames", type=int, default=0, help="cap on frames; 0 runs to the end of the sunset")
    parser.add_argument("--realtime-sizes", default="640x360,1280x720,1920x1080")
    parser.add_argument("--realtime", type=float, default=140.0, help="seconds of each wall-clock run; 0 skips them")
    parser.add_argument("--out", default="build/benchmark")
    parser.add_argument("--table", default="BENCHMARKS.md")
    options = parser.parse_args()

    replay = os.path.abspath(options.replay)
    sizes = options.sizes.split(",")
    results = {}
    for size in sizes:
        print(f"benchmark: {size} ...", file=sys.stderr, flush=True)
        results[size] = measure(replay, os.path.dirname(replay), os.path.abspath(os.path.join(options.out, size)), size,
                                options.dt, options.frames)
    text = table(results, sizes, options.dt, options.frames)
    if options.realtime > 0:
        realtime = {}
        for size in options.realtime_sizes.split(","):
            print(f"benchmark: {size} on the wall clock ...", file=sys.stderr, flush=True)
            realtime[size] = measure_realtime(replay, os.path.dirname(replay),
                                              os.path.abspath(os.path.join(options.out, "realtime", size)), size,
                                              options.realtime)
        text += realtime_table(realtime, f"{options.realtime:g}")
    print(text, end="")
    update_benchmarks_file(options.table, text)


if __name__ == "__main__":
    main()
