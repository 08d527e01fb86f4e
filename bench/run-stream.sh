#!/usr/bin/env bash
# gridlark-cli solve --format line on long streams (the 17-clue set repeated to LINES
# lines, generated into a temporary folder): peak resident memory, time to the first
# output line, total wall time and user+sys CPU time of the whole process, with -j 1
# (one process, no fork) and the default jobs, and the default's share of -j 1's wall
# and CPU time; beside qqwing --solve --one-line (only up to QQWING_MAX lines: it
# solves about 5,000 puzzles a second). Input on standard input, output through a pipe.
# Prints the load average before and after, then a Markdown table.
#
# Usage: bench/run-stream.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench), LINES (default "1000000 10000000"),
# QQWING_MAX (default 1000000).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(cd "${1:?usage: run-stream.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# "wall_s cpu_s peak_kb first_line_ms" of a command reading $2.
measure() {
  local start
  start=$(date +%s%N)
  /usr/bin/time -f "%e %U %S %M" -o "$work/t" bash -c "$1" < "$2" |
    { IFS= read -r _; date +%s%N > "$work/first"; cat > /dev/null; }
  read -r wall user sys peak < "$work/t"
  echo "$wall $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') $peak $(( ($(cat "$work/first") - start) / 1000000 ))"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) processors"
echo
echo "| lines | program | total s | cpu s | puzzles/s | peak RSS MB | first line ms | time / -j 1 | cpu / -j 1 |"
echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|"
for lines in ${LINES:-1000000 10000000}; do
  file="$work/stream.txt"
  set_lines=$(wc -l < "$sets_dir/17_clue_49158.txt")
  for _ in $(seq $(( (lines + set_lines - 1) / set_lines ))); do cat "$sets_dir/17_clue_49158.txt"; done |
    head -n "$lines" > "$file" || true  # the last cat may find head gone
  runs=("gridlark-cli -j 1|'$cli' --seed 1 -j 1 solve --format line -"
        "gridlark-cli (default jobs: $(nproc))|'$cli' --seed 1 solve --format line -")
  if [ "$lines" -le "${QQWING_MAX:-1000000}" ]; then
    runs+=("qqwing|qqwing --solve --one-line")
  fi
  base_wall="" base_cpu=""
  for run in "${runs[@]}"; do
    read -r wall cpu peak first <<<"$(measure "${run#*|}" "$file")"
    if [ -z "$base_wall" ]; then base_wall=$wall base_cpu=$cpu; fi
    awk -v l="$lines" -v n="${run%%|*}" -v w="$wall" -v c="$cpu" -v p="$peak" -v f="$first" \
        -v bw="$base_wall" -v bc="$base_cpu" 'BEGIN {
      printf "| %d | %s | %.2f | %.2f | %.0f | %.1f | %d | %.2f | %.2f |\n",
        l, n, w, c, l / w, p / 1024, f, (bw > 0 ? w / bw : 0), (bc > 0 ? c / bc : 0) }'
  done
  rm -f "$file"
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC')"
