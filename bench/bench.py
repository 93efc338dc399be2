#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

"""Benchmark of tavrel-sumup on generated cash books of several sizes.

    bench.py --sumup PATH [--generator PATH] [--work DIR] [--rows N ...] [--runs K]
    bench.py --prepare-only [--generator PATH] [--work DIR] [--rows N ...]

For each size, generates the four source tables with gen_tables.py beside
this file into DIR/rows-N (once: kept for later runs as long as the generator
is unchanged), then runs the whole aggregation K times under /usr/bin/time -v
and reports the medians of the wall time, the user + system time and the peak
memory, as a Markdown table, with the machine's core count. For the
100,000-row year (when measured) it also measures the same run with the
year-end documents (--reports) and with next year's tables (--next-year, a
fresh folder each run). --prepare-only generates the tables and stops.
"""

import argparse
import hashlib
import os
import re
import shutil
import statistics
import subprocess
import sys


def measure(sumup, folder, extra=()):
    output = os.path.join(folder, "output")
    shutil.rmtree(output, ignore_errors=True)
    # The generated tables are written in the Japanese conventions, which
    # the program takes under the C locale.
    env = dict(os.environ, LC_ALL="C.UTF-8")
    result = subprocess.run(
        ["/usr/bin/time", "-v", sumup, "--today", "2026-12-10", *extra, folder],
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


KINSEN = "金銭出納テーブル.csv"
# The year measured also with the year-end documents and next year's tables.
COMPARED_ROWS = 100_000
STAMP = "generated-by.txt"


def prepare(generator, folder, rows):
    """The tables of rows in folder, generated unless they are there already
    from the same generator: a stamp beside them names the generator's digest
    and arguments, so that tables of an older generator are never measured."""
    with open(generator, "rb") as script:
        digest = hashlib.sha256(script.read()).hexdigest()
    arguments = ["--rows", str(rows)]
    stamp = f"{digest} {' '.join(arguments)}\n"
    stamp_path = os.path.join(folder, STAMP)
    if os.path.exists(os.path.join(folder, KINSEN)) and os.path.exists(stamp_path):
        with open(stamp_path, encoding="utf-8") as old:
            if old.read() == stamp:
                return
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    subprocess.run([sys.executable, generator] + arguments + ["--out", folder],
                   check=True, stdout=subprocess.DEVNULL)
    with open(stamp_path, "w", encoding="utf-8") as new:
        new.write(stamp)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--sumup")
    parser.add_argument("--prepare-only", action="store_true")
    parser.add_argument("--generator", default=os.path.join(here, "gen_tables.py"))
    parser.add_argument("--work", default=os.path.join(here, "..", "build", "bench"))
    parser.add_argument("--rows", type=int, nargs="+", default=[10_000, 100_000, 1_000_000])
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    if args.prepare_only:
        for rows in args.rows:
            prepare(args.generator, os.path.join(args.work, f"rows-{rows}"), rows)
        return
    if not args.sumup:
        parser.error("--sumup is required unless --prepare-only is given")

    print(f"{os.cpu_count()} cores; load average {os.getloadavg()[0]:.2f} at the start; "
          f"medians of {args.runs} runs")
    print()
    print("| rows | run | cash book | wall (s) | user+sys (s) | peak memory (MiB) |")
    print("|---:|---|---:|---:|---:|---:|")
    for rows in args.rows:
        folder = os.path.join(args.work, f"rows-{rows}")
        cash_book = os.path.join(folder, KINSEN)
        prepare(args.generator, folder, rows)
        size_mb = os.path.getsize(cash_book) / 1e6
        kinds = [("books", lambda: ())]
        if rows == COMPARED_ROWS:
            next_year = os.path.join(args.work, "next-year")

            def fresh_next_year():
                shutil.rmtree(next_year, ignore_errors=True)
                return ("--next-year", next_year)
            kinds += [("books + --reports", lambda: ("--reports",)),
                      ("books + --next-year", fresh_next_year)]
        for kind, extra in kinds:
            runs = [measure(args.sumup, folder, extra()) for _ in range(args.runs)]
            wall = statistics.median(r[0] for r in runs)
            cpu = statistics.median(r[1] for r in runs)
            rss = statistics.median(r[2] for r in runs)
            print(f"| {rows:,} | {kind} | {size_mb:.1f} MB | {wall:.2f} | {cpu:.2f} | {rss:.0f} |", flush=True)
    print(f"load average {os.getloadavg()[0]:.2f} at the end")


if __name__ == "__main__":
    main()
