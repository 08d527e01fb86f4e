#!/usr/bin/env bash
# Peer benchmark: gridlark-cli against tdoku, kudoku (built here from the shared
# peers folder into BUILD_DIR/peers) and qqwing on the shared puzzle sets, side by
# side in one run, whole processes timed with hyperfine (median of RUNS runs;
# gridlark-cli bench with one worker process, as the peers run).
# Then list-all enumeration, the large grids, the 25x25 medium puzzle over SEEDS
# seeds and peak memory. Prints the tables and writes them to bench/RESULTS.md.
#
# Usage: bench/run-bench.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench from the repository),
#              GRIDLARK_PEERS_DIR (default ../shared/peers), SEEDS (default 20),
#              RUNS (default 5), LARGE_TIMEOUT seconds per large-grid run (default 30),
#              QQWING_COUNT_RUNS (default 1: qqwing's enumeration is slow).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="$(cd "${1:?usage: run-bench.sh BUILD_DIR}" && pwd)"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
runs="${RUNS:-5}"
large_timeout="${LARGE_TIMEOUT:-30}"
qqwing_count_runs="${QQWING_COUNT_RUNS:-1}"
peers_dir="$(cd "${GRIDLARK_PEERS_DIR:-$repo/../shared/peers}" && pwd)"
seeds="${SEEDS:-20}"
cli="$build_dir/cli/gridlark-cli"
results="$repo/bench/RESULTS.md"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in hyperfine qqwing /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "run-bench: $tool is missing (scripts/install-deps.sh bench)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "run-bench: $cli is not built" >&2; exit 1; }
"$peers_dir/build.sh" "$build_dir/peers" >/dev/null
tdoku="$build_dir/peers/tdoku_bench"
kudoku="$build_dir/peers/kudoku_bench"

# Median wall time in seconds of a shell command over $2 runs.
median() {
  hyperfine --style none --runs "$2" --export-csv "$work/t.csv" "$1" >/dev/null 2>&1
  awk -F, 'NR == 2 { printf "%.3f", $4 }' "$work/t.csv"
}

out=()
say() { printf '%s\n' "$1"; out+=("$1"); }

say "## Peer benchmark: puzzles per second, whole process, median of $runs runs"
say ""
say "| set | puzzles | tdoku s | kudoku s | qqwing s | gridlark s | gridlark puzzles/s | gridlark / tdoku | gridlark / kudoku | qqwing / gridlark | target gridlark / tdoku |"
say "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for entry in serg_benchmark_10000:2.5 17_clue_49158:2.5 magictour_top1465:4 forum_hardest_1106_375:4; do
  set_name="${entry%%:*}"
  target="${entry##*:}"
  file="$sets_dir/$set_name.txt"
  count=$(grep -c '^[0-9.]' "$file")
  # Every solution must check before the set is timed.
  "$cli" -j 1 bench "$file" >"$work/check.txt" || { cat "$work/check.txt"; echo "run-bench: $set_name failed" >&2; exit 1; }
  td=$(median "'$tdoku' '$file' > /dev/null" "$runs")
  ku=$(median "'$kudoku' '$file' > /dev/null" "$runs")
  q=$(median "qqwing --solve --one-line < '$file' > /dev/null" "$runs")
  g=$(median "'$cli' -j 1 bench '$file' > /dev/null" "$runs")
  say "$(awk -v s="$set_name" -v n="$count" -v td="$td" -v ku="$ku" -v q="$q" -v g="$g" -v t="$target" 'BEGIN {
    printf "| %s | %d | %.3f | %.3f | %.3f | %.3f | %.0f | %.2fx | %.2fx | %.1fx | %sx %s |", s, n, td, ku, q, g, n / g, g / td, g / ku, q / g, t, (g / td <= t ? "met" : "NOT met") }')"
done

say ""
say "## Enumeration: gridlark-cli list --sparse on many_solutions.txt"
say ""
say "| puzzle | solutions | gridlark s (median of $runs) | gridlark solutions/s | tdoku solutions/s | kudoku solutions/s | qqwing solutions/s ($qqwing_count_runs run) | gridlark / tdoku rate |"
say "|---:|---:|---:|---:|---:|---:|---:|---:|"
line_no=0
while read -r puzzle expected _; do
  line_no=$((line_no + 1))
  grid="$work/many_$line_no.txt"
  { echo 3; echo "${puzzle:0:81}" | sed 's/\./0/g; s/./& /g'; } >"$grid"
  "$cli" list --sparse "$grid" >/dev/null 2>"$work/count.txt"
  got=$(sed -n 's/.*: \([0-9]*\) solutions\{0,1\}$/\1/p' "$work/count.txt")
  [ "$got" = "$expected" ] || { echo "run-bench: puzzle $line_no: $got solutions, expected $expected" >&2; exit 1; }
  g=$(median "'$cli' list --sparse '$grid' > /dev/null 2>&1" "$runs")
  echo "${puzzle:0:81}" >"$work/one.txt"
  td=$(median "'$tdoku' '$work/one.txt' 100000000 > /dev/null" "$runs")
  ku=$(median "'$kudoku' '$work/one.txt' 100000000 > /dev/null" "$runs")
  q=$(median "qqwing --solve --count-solutions --one-line < '$work/one.txt' > /dev/null" "$qqwing_count_runs")
  say "$(awk -v l="$line_no" -v c="$got" -v g="$g" -v td="$td" -v ku="$ku" -v q="$q" 'BEGIN {
    printf "| %d | %d | %.3f | %.0f | %.0f | %.0f | %.0f | %.2f |", l, c, g, c / g, c / td, c / ku, c / q, td / g }')"
done <"$sets_dir/many_solutions.txt"

say ""
say "## Large grids: gridlark-cli solve, $runs runs each (runs stopped after ${large_timeout} s)"
say ""
say "| puzzle | size | run times s | median s |"
say "|---|---:|---|---:|"
for file in "$sets_dir"/large/*.txt; do
  name="$(basename "$file" .txt)"
  index=0
  while IFS= read -r line || [ -n "$line" ]; do
    [ -n "$line" ] || continue
    index=$((index + 1))
    grid="$work/$name-$index.txt"
    # Letters A.. stand for 1..; '.' is a blank; numbers are taken as they are.
    echo "$line" | awk '{
      if ($0 ~ /^[.A-Z]+$/) { n = length($0); for (i = 1; i <= n; i++) { ch = substr($0, i, 1); v[i] = (ch == ".") ? 0 : index("ABCDEFGHIJKLMNOPQRSTUVWXY", ch) } }
      else { n = split($0, v, /[ \t]+/) }
      inner = int(sqrt(sqrt(n)) + 0.5); print inner
      for (i = 1; i <= n; i++) printf "%s%s", v[i], (i % (inner * inner) == 0) ? "\n" : " " }' >"$grid"
    size=$(( $(head -1 "$grid") ** 2 ))
    times=()
    for _ in $(seq "$runs"); do
      if /usr/bin/time -f "%e" -o "$work/large.t" timeout "$large_timeout" "$cli" solve "$grid" >"$work/large.out" 2>/dev/null; then
        times+=("$(tail -1 "$work/large.t")")
      else
        times+=(">$large_timeout")
      fi
    done
    med=$(printf '%s\n' "${times[@]}" | sed 's/^>/9999/' | sort -g | sed -n "$(( (runs + 1) / 2 ))p" | sed 's/^9999/>/')
    say "| $name #$index | ${size}x${size} | ${times[*]} | $med |"
  done <"$file"
done

say ""
say "## 25x25 medium puzzle: gridlark-cli solve over $seeds seeds (--seed 1..$seeds; runs stopped after ${large_timeout} s)"
say ""
seed_times=()
for seed in $(seq "$seeds"); do
  if /usr/bin/time -f "%e" -o "$work/seed.t" \
    timeout "$large_timeout" "$cli" --seed "$seed" solve "$work/25x25_medium_1-1.txt" >/dev/null 2>&1; then
    seed_times+=("$(tail -1 "$work/seed.t")")
  else
    seed_times+=(">$large_timeout")
  fi
done
say "run times s: ${seed_times[*]}"
say ""
# Stopped runs sort after every finished one; a statistic that falls on one is
# only known to exceed the limit and is shown as such.
say "$({ printf '%s\n' "${seed_times[@]}" | { grep -v '^>' || true; } | sort -g; printf '%s\n' "${seed_times[@]}" | { grep '^>' || true; }; } |
  awk -v n="$seeds" -v limit="$large_timeout" '
  /^>/ { stopped++; next } { t[++done] = $1 }
  function at(k) { return k <= done ? t[k] : ">" limit }
  END {
    printf "min %s, median %s, 90th percentile %s, max %s; %d of %d runs stopped after %s s",
      at(1), at(int((n + 1) / 2)), at(int(n * 0.9 + 0.5)), at(n), stopped, n, limit }')"

say ""
say "## Peak memory"
say ""
/usr/bin/time -v "$cli" -j 1 bench "$sets_dir/17_clue_49158.txt" >/dev/null 2>"$work/mem.txt"
peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/mem.txt")
say "$(awk -v k="$peak" 'BEGIN { printf "gridlark-cli bench 17_clue_49158.txt: %.1f MB maximum resident set size (target under 10 MB: %s)", k / 1024, (k < 10240 ? "met" : "NOT met") }')"

{
  echo "# Benchmark results"
  echo ""
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "- Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(uname -sr)"
  echo "- Peers: tdoku and kudoku built from $peers_dir with its build.sh (-O3 -march=native), qqwing $(qqwing --version 2>/dev/null | head -1 | sed 's/^qqwing //')"
  echo "- Command: \`RUNS=$runs SEEDS=$seeds LARGE_TIMEOUT=$large_timeout QQWING_COUNT_RUNS=$qqwing_count_runs bash bench/run-bench.sh $1\` from the repository (\`make bench\` runs it on build/release), puzzle sets from $sets_dir"
  echo ""
  printf '%s\n' "${out[@]}"
} >"$results"
echo ""
echo "Written to $results"
