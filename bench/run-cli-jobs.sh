#!/usr/bin/env bash
# gridlark-cli solve --format line against qqwing --solve --one-line (the same
# output form) on each shared 9x9 set, with 1 and 2 jobs: wall and user CPU
# seconds of the whole process, best of RUNS runs. Prints a Markdown table.
#
# Usage: bench/run-cli-jobs.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench), RUNS (default 3).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(cd "${1:?usage: run-cli-jobs.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
runs="${RUNS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Best wall time and the user time of that run, "wall user", of a command reading $2.
best() {
  local best_wall="" best_user=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U" -o "$work/t" bash -c "$1" < "$2" > /dev/null
    read -r wall user < "$work/t"
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
      best_wall=$wall best_user=$user
    fi
  done
  echo "$best_wall $best_user"
}

echo "| set | puzzles | qqwing s (user) | 1 job s (user) | 2 jobs s (user) | 1 job puzzles/s | 2 jobs puzzles/s | 2 jobs / 1 job | gridlark 1 job / qqwing |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for name in serg_benchmark_10000 17_clue_49158 magictour_top1465 forum_hardest_1106_375; do
  file="$sets_dir/$name.txt"
  count=$(grep -c . "$file")
  # The two job counts must agree with each other before they are timed.
  cmp <("$cli" --seed 1 -j 1 solve --format line "$file") <("$cli" --seed 1 -j 2 solve --format line "$file")
  read -r qw qu <<<"$(best "qqwing --solve --one-line" "$file")"
  read -r w1 u1 <<<"$(best "'$cli' --seed 1 -j 1 solve --format line -" "$file")"
  read -r w2 u2 <<<"$(best "'$cli' --seed 1 -j 2 solve --format line -" "$file")"
  awk -v n="$name" -v c="$count" -v qw="$qw" -v qu="$qu" -v w1="$w1" -v u1="$u1" -v w2="$w2" -v u2="$u2" 'BEGIN {
    printf "| %s | %d | %.2f (%.2f) | %.2f (%.2f) | %.2f (%.2f) | %.0f | %.0f | %.2fx | %.1fx |\n",
      n, c, qw, qu, w1, u1, w2, u2, c / w1, c / w2, w1 / w2, qw / w1 }'
done
