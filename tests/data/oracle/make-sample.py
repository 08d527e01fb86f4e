#!/usr/bin/python3
"""Makes the committed oracle sample from the shared puzzle sets.

Usage: make-sample.py SHARED_BENCH_DIR
Writes <set>.txt (an evenly spaced sample of each set) and counts.txt (puzzles made by
removing clues, whose solution counts qqwing puts between 1 and a few thousand).
Deterministic while qqwing answers each count within its time limit.
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
    """qqwing's count, or None when it takes too long (far more solutions than wanted)."""
    try:
        out = subprocess.run(["qqwing", "--solve", "--count-solutions", "--nosolution"],
                             input=puzzle + "\n", capture_output=True, text=True,
                             timeout=2).stdout
    except subprocess.TimeoutExpired:
        return None
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
    sources += (bench / "serg_benchmark_10000.txt").read_text().split()
    # Remove clues one at a time, so that the counts grow step by step, and keep an
    # even spread over the counts 1, 2 to 99, 100 to 999 and 1000 up.
    buckets = {0: [], 1: [], 2: [], 3: []}
    per_bucket = COUNT_PUZZLES // len(buckets)
    while any(len(b) < per_bucket for b in buckets.values()):
        puzzle = list(rng.choice(sources))
        givens = [i for i, ch in enumerate(puzzle) if ch != "."]
        rng.shuffle(givens)
        for removed in range(len(givens)):
            if removed:
                puzzle[givens[removed - 1]] = "."
            line = "".join(puzzle)
            count = qqwing_count(line)
            if count is None or count > MAX_COUNT:
                break
            bucket = buckets[0 if count == 1 else min(len(str(count)) - 1, 3) or 1]
            if count >= 1 and len(bucket) < per_bucket:
                bucket.append(line)
                print(f"{count:5} {line}", flush=True)
    lines = [line for b in buckets.values() for line in b]
    (here / "counts.txt").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
