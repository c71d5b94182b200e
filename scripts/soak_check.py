#!/usr/bin/env python3
"""Judges a soak run from its files: the per-frame stats show the route finished, the
sunset ended and the further simulated time ran; the resident-memory samples stay
flat after the first minute. Standard library only."""

import argparse
import csv
import statistics
import sys

SETTLE_SECONDS = 60


def check_run(stats_path, extra_seconds):
    with open(stats_path) as file:
        rows = list(csv.DictReader(file))
    if not rows:
        return ["no frames in " + stats_path]
    last = float(rows[-1]["sim_time"])
    print(f"soak: {len(rows)} frames, {last:.1f} s simulated")
    if extra_seconds <= 0:
        return []
    if "sky_dimmed" not in rows[0]:
        return ["the stats have no sky_dimmed column: cannot tell when the sunset ended"]
    ended = next((float(row["sim_time"]) for row in rows if row["sky_dimmed"] == "1"), None)
    if ended is None:
        return ["the sunset never ended"]
    print(f"soak: sunset ended at {ended:.1f} s, then {last - ended:.1f} s more")
    if last - ended < extra_seconds - 1e-6:
        return [f"only {last - ended:.1f} s after the sunset, {extra_seconds} s wanted"]
    return []


def check_memory(rss_path, slack_mib, slack_fraction):
    samples = []
    with open(rss_path) as file:
        for line in file:
            seconds, kib = line.strip().split(",")
            samples.append((int(seconds), int(kib) / 1024.0))
    settled = [mib for seconds, mib in samples if seconds >= SETTLE_SECONDS]
    if len(settled) < 6:
        print(f"soak: {len(samples)} memory samples, too short a run to judge memory after the first minute")
        return []
    # Medians of the first and last few samples, so that one busy sample decides nothing.
    window = max(3, len(settled) // 10)
    start = statistics.median(settled[:window])
    end = statistics.median(settled[-window:])
    allowed = max(slack_mib, start * slack_fraction)
    print(f"soak: resident {start:.0f} MiB after the first minute, {end:.0f} MiB at the end, "
          f"peak {max(mib for _, mib in samples):.0f} MiB")
    if end - start > allowed:
        return [f"resident memory grew {end - start:.0f} MiB after the first minute (allowed {allowed:.0f} MiB)"]
    return []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stats", required=True)
    parser.add_argument("--rss", required=True)
    parser.add_argument("--extra", type=float, default=600.0, help="simulated seconds wanted after the sunset")
    parser.add_argument("--slack-mib", type=float, default=16.0)
    parser.add_argument("--slack-fraction", type=float, default=0.05)
    options = parser.parse_args()
    problems = check_run(options.stats, options.extra) + check_memory(options.rss, options.slack_mib,
                                                                      options.slack_fraction)
    for problem in problems:
        print("soak: " + problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
