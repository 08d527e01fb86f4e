#!/usr/bin/env bash
# gridlark-cli solve --format line on long streams (the 17-clue set repeated to LINES
# lines, generated into a temporary folder): peak resident memory, time to the first
# output line and total time of the whole process, with -j 1 and the default jobs,
# beside qqwing --solve --one-line (only up to QQWING_MAX lines: it solves about 5,000
# puzzles a second). Input on standard input, output through a pipe. Prints a Markdown table.
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

# "wall_s peak_kb first_line_ms" of a command reading $2.
measure() {
  local start
  start=$(date +%s%N)
  /usr/bin/time -f "%e %M" -o "$work/t" bash -c "$1" < "$2" |
    { IFS= read -r _; date +%s%N > "$work/first"; cat > /dev/null; }
  read -r wall peak < "$work/t"
  echo "$wall $peak $(( ($(cat "$work/first") - start) / 1000000 ))"
}

echo "| lines | program | total s | puzzles/s | peak RSS MB | first line ms |"
echo "|---:|---|---:|---:|---:|---:|"
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
  for run in "${runs[@]}"; do
    read -r wall peak first <<<"$(measure "${run#*|}" "$file")"
    awk -v l="$lines" -v n="${run%%|*}" -v w="$wall" -v p="$peak" -v f="$first" 'BEGIN {
      printf "| %d | %s | %.2f | %.0f | %.1f | %d |\n", l, n, w, l / w, p / 1024, f }'
  done
  rm -f "$file"
done
