#!/usr/bin/env python3
"""Measures frostember-ambient: the flight's pace and render scale over a whole
loop and across the cut, full screen; the processor it uses while its window is
unmapped; its start-up to the first frame; and its resident memory over many
loops. Prints the tables and puts them into BENCHMARKS.md between the ambient
markers, leaving the rest of that file as it is.

Standard library only. Run from the repository root with a display whose screen
is the size to measure at (scripts/ambient_benchmark.sh does both)."""

import argparse
import csv
import datetime
import json
import os
import signal
import subprocess
import sys
import time

from benchmark import median, update_benchmarks_file

BEGIN_MARK = "<!-- ambient table: written by scripts/ambient_benchmark.sh -->"
END_MARK = "<!-- end of ambient table -->"
STALL_MS = 100.0  # the camera stands still on a frame longer than this


class Ambient:
    """One run of the program, with its per-frame rows in `stats` and its resident memory sampled."""

    def __init__(self, program, out_dir, name, args, env=None):
        os.makedirs(out_dir, exist_ok=True)
        self.stats = os.path.join(out_dir, f"{name}.csv")
        # An earlier run's rows must not pass for this one's.
        if os.path.exists(self.stats):
            os.remove(self.stats)
        self.log = open(os.path.join(out_dir, f"{name}.log"), "w")
        self.started = time.monotonic()
        self.child = subprocess.Popen([program, "--stats", self.stats] + args, cwd=os.path.dirname(program),
                                      env=dict(os.environ, **(env or {})), stdout=self.log, stderr=subprocess.STDOUT)
        self.memory = []  # (seconds since start, MiB)

    def resident_mib(self):
        with open(f"/proc/{self.child.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
        return float("nan")

    def run_for(self, seconds, sample_every=5.0):
        end = self.started + seconds
        while time.monotonic() < end:
            if self.child.poll() is not None:
                sys.exit(f"ambient benchmark: the program ended early, see {self.log.name}")
            self.memory.append((time.monotonic() - self.started, self.resident_mib()))
            time.sleep(min(sample_every, max(0.0, end - time.monotonic())))

    def stop(self):
        self.child.send_signal(signal.SIGTERM)
        status = self.child.wait(timeout=60)
        self.log.close()
        if status != 0:
            sys.exit(f"ambient benchmark: SIGTERM gave status {status}, see {self.log.name}")
        with open(self.stats) as file:
            return list(csv.DictReader(file))


def loops(rows):
    """The rows split at each cut: a cut is the first fade-in frame after a black one."""
    parts = [[]]
    for previous, row in zip([None] + rows, rows):
        if previous is not None and previous["phase"] == "black" and row["phase"] == "fade_in":
            parts.append([])
        parts[-1].append(row)
    return parts


def pace(rows):
    """Route time gained over wall time on the frames that fly, the first frame left out."""
    flying = [float(r["delta_ms"]) for r in rows[1:] if r["route_finished"] == "0"]
    moved = sum(d for d in flying if d <= STALL_MS)
    return (moved / sum(flying) if flying else float("nan")), sum(1 for d in flying if d > STALL_MS), flying


def measure_loop(program, out_dir, seconds):
    run = Ambient(program, out_dir, "loop", ["--mute"])
    run.run_for(seconds)
    rows = run.stop()
    first = loops(rows)[0]
    flight_pace, stalls, flying = pace(first)
    scales = [float(r["render_scale"]) for r in first[1:] if r["route_finished"] == "0"]
    fades = [r for r in rows if r["phase"] in ("fade_out", "black", "fade_in")]
    cut = next((i for i in range(1, len(rows)) if rows[i - 1]["phase"] == "black" and rows[i]["phase"] == "fade_in"), None)
    return {
        "pace": flight_pace, "stalls": stalls, "frames": len(flying),
        "loop_seconds": float(rows[cut]["seconds"]) if cut else float("nan"),
        "scale_median": median(scales), "scale_low": min(scales), "scale_high": max(scales),
        "median_frame": median([float(r["delta_ms"]) for r in first[1:]]),
        "fade_scales": sorted({r["render_scale"] for r in fades}),
        "fade_max_delta": max((float(r["delta_ms"]) for r in fades), default=float("nan")),
        "cut_under_black": cut is not None and float(rows[cut - 1]["brightness"]) == 0.0,
        "after_cut_pace": pace(rows[cut:])[0] if cut else float("nan"),
    }


def cpu_seconds(pid):
    """User and system time of the process so far."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure_hidden(program, out_dir, seconds, sound):
    """With the sound muted, or playing into OpenAL Soft's null device, which mixes as a sound card would."""
    run = Ambient(program, out_dir, f"hidden-{sound}", ["--window", "640x360"] + (["--mute"] if sound == "muted" else []),
                  {"ALSOFT_DRIVERS": "null"})
    # Searched for once frames come: the window-size probe's own short-lived
    # window carries the same process id.
    while not os.path.exists(run.stats) or len(open(run.stats).readlines()) < 10:
        run.run_for(time.monotonic() - run.started + 0.5, 0.5)
    window = subprocess.run(["xdotool", "search", "--pid", str(run.child.pid)],
                            capture_output=True, text=True, timeout=120).stdout.split()[0]
    subprocess.run(["xdotool", "windowunmap", window], check=True)
    time.sleep(2.0)
    before = cpu_seconds(run.child.pid)
    time.sleep(seconds)
    used = cpu_seconds(run.child.pid) - before
    rows = run.stop()
    return {"core_share": used / seconds, "seconds": seconds}


def measure_startup(program, out_dir, runs):
    firsts = []
    for index in range(runs):
        startup = os.path.join(out_dir, f"startup-stages-{index}.csv")
        if os.path.exists(startup):
            os.remove(startup)
        run = Ambient(program, out_dir, f"startup-{index}", ["--mute", "--startup", startup])
        while "first frame" not in (open(startup).read() if os.path.exists(startup) else ""):
            run.run_for(time.monotonic() - run.started + 0.1, 0.1)
        run.stop()
        stages = dict(line.split(",") for line in open(startup).read().splitlines()[1:])
        firsts.append(float(stages["first frame"]))
    return {"median": median(firsts), "low": min(firsts), "high": max(firsts), "runs": runs}


def measure_memory(program, out_dir, seconds, window):
    run = Ambient(program, out_dir, "memory", ["--mute"] + (["--window", window] if window else []))
    run.run_for(seconds, 10.0)
    rows = run.stop()
    with open(os.path.join(out_dir, "memory-resident.csv"), "w") as samples:
        samples.write("seconds,resident_mib\n" + "".join(f"{t:.1f},{m:.1f}\n" for t, m in run.memory))
    ends = [float(part[-1]["seconds"]) for part in loops(rows)[:-1]]
    at = lambda t: min(run.memory, key=lambda sample: abs(sample[0] - t))[1]
    scales = sorted({r["render_scale"] for r in rows})
    moving = sum(1 for r in rows[1:] if float(r["delta_ms"]) <= STALL_MS)
    return {"seconds": seconds, "loop_ends": [(t, at(t)) for t in ends], "final": run.memory[-1],
            "peak": max(m for _, m in run.memory), "scales": scales, "window": window,
            "moving_share": moving / max(1, len(rows) - 1)}


def table(loop, hidden, startup, memory, size):
    day = datetime.date.today().isoformat()
    lines = [f"## Ambient program, {day}", "",
             f"`frostember-ambient --mute` full screen at {size} on llvmpipe unless said otherwise, started by "
             "`scripts/ambient_benchmark.sh`.", ""]
    if loop:
        lines += [
            "| the first loop | |", "|---|---|",
            f"| flight pace (route frames after the first) | {100 * loop['pace']:.2f} % |",
            f"| frames over 0.1 s while flying | {loop['stalls']} of {loop['frames']} |",
            f"| median frame | {loop['median_frame']:.1f} ms |",
            f"| render scale while flying: median, lowest, highest | {loop['scale_median']:.1f}, {loop['scale_low']:.1f}, {loop['scale_high']:.1f} |",
            f"| the loop's length, start to cut | {loop['loop_seconds']:.1f} s |",
            f"| across the fades and the cut: scales, longest frame | {', '.join(loop['fade_scales'])}; {loop['fade_max_delta']:.0f} ms |",
            f"| the cut comes after a black frame | {'yes' if loop['cut_under_black'] else 'NO'} |",
            f"| flight pace after the cut, to the run's end | {100 * loop['after_cut_pace']:.2f} % |", ""]
    if hidden:
        lines += [f"Unmapped (`--window 640x360`, `xdotool windowunmap`), from `/proc/PID/stat` over "
                  f"{hidden['muted']['seconds']:.0f} s: {100 * hidden['muted']['core_share']:.2f} % of one core muted, "
                  f"{100 * hidden['playing']['core_share']:.2f} % with the sound paused on OpenAL Soft's null device.", ""]
    if startup:
        lines += [f"Start-up to the first frame, {startup['runs']} runs: median {startup['median']:.3f} s "
                  f"({startup['low']:.3f}–{startup['high']:.3f} s), from process start.", ""]
    if memory:
        where = f"in a {memory['window']} window" if memory["window"] else "full screen"
        lines += [f"Resident memory over {memory['seconds'] / 60:.0f} minutes of loops {where} (render scales seen: "
                  f"{', '.join(memory['scales'])}; {100 * memory['moving_share']:.0f} % of the frames short enough "
                  "to move the camera):", "", "| at the end of loop | time | resident |", "|---|---|---|"]
        lines += [f"| {i + 1} | {t / 60:.1f} min | {m:.0f} MiB |" for i, (t, m) in enumerate(memory["loop_ends"])]
        final_t, final_m = memory["final"]
        lines += [f"| the run's end | {final_t / 60:.1f} min | {final_m:.0f} MiB |", "",
                  f"Peak {memory['peak']:.0f} MiB.", ""]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default="build/run/frostember-ambient")
    parser.add_argument("--out", default="build/benchmark/ambient")
    parser.add_argument("--size", default="1920x1080", help="the screen's size, for the table")
    parser.add_argument("--loop", type=float, default=175.0, help="seconds of the loop run; 0 skips it")
    parser.add_argument("--hidden", type=float, default=10.0, help="seconds measured unmapped; 0 skips it")
    parser.add_argument("--startup-runs", type=int, default=5, help="0 skips them")
    parser.add_argument("--memory", type=float, default=3600.0, help="seconds of the memory run; 0 skips it")
    parser.add_argument("--memory-window", default="", help="WxH: the memory run in a window, not full screen")
    parser.add_argument("--table", default="BENCHMARKS.md")
    options = parser.parse_args()

    program = os.path.abspath(options.program)
    out = os.path.abspath(options.out)
    # A part that is skipped keeps the figures of its last run, so that the
    # hour of the memory run need not be repeated with the rest.
    saved = os.path.join(out, "results.json")
    results = json.load(open(saved)) if os.path.exists(saved) else {}
    parts = {
        "loop": (options.loop > 0, lambda: measure_loop(program, out, options.loop)),
        "hidden": (options.hidden > 0, lambda: {sound: measure_hidden(program, out, options.hidden, sound)
                                                for sound in ("muted", "playing")}),
        "startup": (options.startup_runs > 0, lambda: measure_startup(program, out, options.startup_runs)),
        "memory": (options.memory > 0, lambda: measure_memory(program, out, options.memory, options.memory_window)),
    }
    for name, (wanted, measure) in parts.items():
        if wanted:
            results[name] = measure()
            json.dump(results, open(saved, "w"), indent=1)
    text = table(results.get("loop"), results.get("hidden"), results.get("startup"), results.get("memory"),
                 options.size)
    print(text, end="")
    update_benchmarks_file(options.table, text, BEGIN_MARK, END_MARK)


if __name__ == "__main__":
    main()
