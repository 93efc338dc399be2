#!/usr/bin/env python3
"""Benchmark of tavrel-sumup on generated cash books of several sizes.

    bench.py --sumup PATH [--generator PATH] [--work DIR] [--rows N ...] [--runs K]

For each size, generates the four source tables with the shared generator
(once; kept in DIR for later runs), then runs the whole aggregation K times
under /usr/bin/time -v and reports the medians of the wall time, the user +
system time and the peak memory, as a Markdown table.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys


def measure(sumup, folder):
    output = os.path.join(folder, "output")
    shutil.rmtree(output, ignore_errors=True)
    # The generated tables are written in the Japanese conventions, which
    # the program takes under the C locale.
    env = dict(os.environ, LC_ALL="C.UTF-8")
    result = subprocess.run(
        ["/usr/bin/time", "-v", sumup, "--today", "2026-12-10", folder],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=False, env=env)
    if result.returncode != 0:
        sys.exit(f"tavrel-sumup failed on {folder}:\n{result.stderr}")
    text = result.stderr

    def field(pattern):
        return re.search(pattern, text).group(1)

    wall = field(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)")
    parts = [float(p) for p in wall.split(":")]
    seconds = parts[-1] + 60 * parts[-2] + (3600 * parts[-3] if len(parts) > 2 else 0)
    cpu = float(field(r"User time \(seconds\): (\S+)")) + float(field(r"System time \(seconds\): (\S+)"))
    rss_mib = int(field(r"Maximum resident set size \(kbytes\): (\d+)")) / 1024
    return seconds, cpu, rss_mib


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--sumup", required=True)
    parser.add_argument("--generator", default=os.path.join(here, "..", "..", "shared", "bench", "gen_data.py"))
    parser.add_argument("--work", default=os.path.join(here, "..", "build", "bench"))
    parser.add_argument("--rows", type=int, nargs="+", default=[10_000, 100_000, 1_000_000])
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()

    print("| rows | cash book | wall (s) | user+sys (s) | peak memory (MiB) |")
    print("|---:|---:|---:|---:|---:|")
    for rows in args.rows:
        folder = os.path.join(args.work, f"rows-{rows}")
        cash_book = os.path.join(folder, "金銭出納テーブル.csv")
        if not os.path.exists(cash_book):
            os.makedirs(folder, exist_ok=True)
            subprocess.run([sys.executable, args.generator, "--rows", str(rows), "--out", folder],
                           check=True, stdout=subprocess.DEVNULL)
        runs = [measure(args.sumup, folder) for _ in range(args.runs)]
        wall = statistics.median(r[0] for r in runs)
        cpu = statistics.median(r[1] for r in runs)
        rss = statistics.median(r[2] for r in runs)
        size_mb = os.path.getsize(cash_book) / 1e6
        print(f"| {rows:,} | {size_mb:.1f} MB | {wall:.2f} | {cpu:.2f} | {rss:.0f} |", flush=True)


if __name__ == "__main__":
    main()
