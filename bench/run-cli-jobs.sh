#!/usr/bin/env bash
# gridlark-cli solve --format line against qqwing --solve --one-line (the same
# output form) and tdoku (its driver, which solves and checks each puzzle) on each
# shared 9x9 set, with 1 and 2 jobs: wall and user CPU seconds of the whole process,
# best of RUNS runs; and the peak memory of gridlark-cli bench on the set with 1 and 2
# jobs. Prints a Markdown table.
#
# Usage: bench/run-cli-jobs.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench), RUNS (default 3),
# TDOKU (default BUILD_DIR/../peers/tdoku_bench, built by ../shared/peers/build.sh).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(cd "${1:?usage: run-cli-jobs.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
runs="${RUNS:-3}"
tdoku="${TDOKU:-$(cd "$1/.." && pwd)/peers/tdoku_bench}"
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

# Peak resident memory in MB of gridlark-cli bench with $1 jobs on $2.
bench_peak() {
  /usr/bin/time -f "%M" -o "$work/m" "$cli" --seed 1 -j "$1" bench "$2" > /dev/null
  awk '{ printf "%.1f", $1 / 1024 }' "$work/m"
}

echo "| set | puzzles | tdoku s | qqwing s (user) | 1 job s (user) | 2 jobs s (user) | 2 jobs / 1 job time | gridlark 1 job / tdoku | bench peak MB 1 job / 2 jobs |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for name in serg_benchmark_10000 17_clue_49158 magictour_top1465 forum_hardest_1106_375; do
  file="$sets_dir/$name.txt"
  count=$(grep -c . "$file")
  # The two job counts must agree with each other before they are timed.
  cmp <("$cli" --seed 1 -j 1 solve --format line "$file") <("$cli" --seed 1 -j 2 solve --format line "$file")
  read -r tw _ <<<"$(best "'$tdoku' /dev/stdin" "$file")"
  read -r qw qu <<<"$(best "qqwing --solve --one-line" "$file")"
  read -r w1 u1 <<<"$(best "'$cli' --seed 1 -j 1 solve --format line -" "$file")"
  read -r w2 u2 <<<"$(best "'$cli' --seed 1 -j 2 solve --format line -" "$file")"
  m1=$(bench_peak 1 "$file")
  m2=$(bench_peak 2 "$file")
  awk -v n="$name" -v c="$count" -v tw="$tw" -v qw="$qw" -v qu="$qu" -v w1="$w1" -v u1="$u1" -v w2="$w2" -v u2="$u2" \
      -v m1="$m1" -v m2="$m2" 'BEGIN {
    printf "| %s | %d | %.2f | %.2f (%.2f) | %.2f (%.2f) | %.2f (%.2f) | %.2f | %.1fx | %s / %s |\n",
      n, c, tw, qw, qu, w1, u1, w2, u2, w2 / w1, (tw > 0 ? w1 / tw : 0), m1, m2 }'
done
