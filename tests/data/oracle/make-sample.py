#!/usr/bin/python3
"""Makes the committed oracle sample from the shared puzzle sets.

Usage: make-sample.py SHARED_BENCH_DIR
Writes <set>.txt (an evenly spaced sample of each set) and counts.txt (puzzles made by
removing clues, whose solution counts qqwing puts between 1 and a few thousand).
Deterministic: the same sets give the same files.
"""
import random
import subprocess
import sys
from pathlib import Path

SETS = {
    "serg_benchmark_10000.txt": 300,
    "17_clue_49158.txt": 300,
    "magictour_top1465.txt": 300,
    "forum_hardest_1106_375.txt": 200,
}
COUNT_PUZZLES = 40
MAX_COUNT = 5000


def sample(lines, wanted):
    step = len(lines) / wanted
    return [lines[int(i * step)] for i in range(wanted)]


def qqwing_count(puzzle):
    out = subprocess.run(["qqwing", "--solve", "--count-solutions", "--nosolution"],
                         input=puzzle + "\n", capture_output=True, text=True, timeout=60).stdout
    if "is unique" in out:
        return 1
    if "There are no solutions" in out:
        return 0
    return int(out.split("There are ")[1].split()[0])


def main():
    bench = Path(sys.argv[1])
    here = Path(__file__).resolve().parent
    for name, wanted in SETS.items():
        lines = [l[:81] for l in (bench / name).read_text().splitlines() if len(l) >= 81]
        (here / name).write_text("\n".join(sample(lines, wanted)) + "\n")

    rng = random.Random(20261206)
    sources = (bench / "17_clue_49158.txt").read_text().split()
    sources += (bench / "magictour_top1465.txt").read_text().split()
    # Aim for an even spread over the orders of magnitude 1, 10, 100, 1000.
    buckets = {0: [], 1: [], 2: [], 3: []}
    while sum(len(b) for b in buckets.values()) < COUNT_PUZZLES:
        puzzle = list(rng.choice(sources))
        givens = [i for i, ch in enumerate(puzzle) if ch != "."]
        for i in rng.sample(givens, rng.randint(0, 4)):
            puzzle[i] = "."
        line = "".join(puzzle)
        count = qqwing_count(line)
        if not 1 <= count <= MAX_COUNT:
            continue
        bucket = buckets[min(len(str(count)) - 1, 3)]
        if len(bucket) < COUNT_PUZZLES // 4 and line not in bucket:
            bucket.append(line)
    lines = [line for b in buckets.values() for line in b]
    (here / "counts.txt").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
