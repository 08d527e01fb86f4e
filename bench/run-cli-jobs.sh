#!/usr/bin/env bash
# gridlark-cli solve --format line against qqwing --solve --one-line (the same
# output form) and tdoku (its driver, which solves and checks each puzzle) on each
# shared 9x9 set, with -j 1 (one process, no fork) and the default jobs (one per
# processor: this process and a worker less): wall seconds and user+sys CPU seconds of
# the whole process, best of RUNS runs, and their ratios; and the peak memory of
# gridlark-cli bench on the set with both. Prints the load average before and after,
# then a Markdown table.
#
# Usage: bench/run-cli-jobs.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench), RUNS (default 3),
# TDOKU (default BUILD_DIR/../peers/tdoku_bench, built by ../shared/peers/build.sh),
# QQWING (default qqwing; empty: leave it out, as on a loaded machine where it takes minutes).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(cd "${1:?usage: run-cli-jobs.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
runs="${RUNS:-3}"
tdoku="${TDOKU:-$(cd "$1/.." && pwd)/peers/tdoku_bench}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Best wall time and the CPU time (user+sys) of that run, "wall cpu", of a command reading $2.
best() {
  local best_wall="" best_cpu=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S" -o "$work/t" bash -c "$1" < "$2" > /dev/null
    read -r wall user sys < "$work/t"
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
      best_wall=$wall best_cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
    fi
  done
  echo "$best_wall $best_cpu"
}

# Peak resident memory in MB of gridlark-cli bench with the job option $1 on $2.
bench_peak() {
  /usr/bin/time -f "%M" -o "$work/m" "$cli" --seed 1 $1 bench "$2" > /dev/null
  awk '{ printf "%.1f", $1 / 1024 }' "$work/m"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) processors"
echo
echo "| set | puzzles | tdoku s | qqwing s (cpu) | -j 1 s (cpu) | default jobs s (cpu) | default / -j 1 time | default / -j 1 cpu | gridlark -j 1 / tdoku | bench peak MB -j 1 / default |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for name in serg_benchmark_10000 17_clue_49158 magictour_top1465 forum_hardest_1106_375; do
  file="$sets_dir/$name.txt"
  count=$(grep -c . "$file")
  # The two job counts must agree with each other before they are timed.
  cmp <("$cli" --seed 1 -j 1 solve --format line "$file") <("$cli" --seed 1 solve --format line "$file")
  tw=0
  if [ -x "$tdoku" ]; then
    read -r tw _ <<<"$(best "'$tdoku' /dev/stdin" "$file")"
  fi
  qw=0 qc=0
  if [ -n "${QQWING-qqwing}" ]; then
    read -r qw qc <<<"$(best "${QQWING-qqwing} --solve --one-line" "$file")"
  fi
  read -r w1 c1 <<<"$(best "'$cli' --seed 1 -j 1 solve --format line -" "$file")"
  read -r wd cd <<<"$(best "'$cli' --seed 1 solve --format line -" "$file")"
  m1=$(bench_peak "-j 1" "$file")
  md=$(bench_peak "" "$file")
  awk -v n="$name" -v c="$count" -v tw="$tw" -v qw="$qw" -v qc="$qc" -v w1="$w1" -v c1="$c1" -v wd="$wd" -v cd="$cd" \
      -v m1="$m1" -v md="$md" 'BEGIN {
    printf "| %s | %d | %s | %s | %.2f (%.2f) | %.2f (%.2f) | %.2f | %.2f | %s | %s / %s |\n",
      n, c, (tw > 0 ? sprintf("%.2f", tw) : "-"), (qw > 0 ? sprintf("%.2f (%.2f)", qw, qc) : "-"), w1, c1, wd, cd, (w1 > 0 ? wd / w1 : 0), (c1 > 0 ? cd / c1 : 0),
      (tw > 0 ? sprintf("%.1fx", w1 / tw) : "-"), m1, md }'
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC')"
