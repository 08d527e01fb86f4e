#!/usr/bin/env bash
# gridlark-cli rate and generate checked by an outside rater, qqwing:
# - 500 puzzles (the first 250 of 17_clue_49158 and of magictour_top1465): a puzzle
#   qqwing solves with singles alone rates easy here; one on which qqwing must guess
#   uses a technique beyond singles, locked candidates and pairs here;
# - every puzzle of forum_hardest_1106_375 rates extreme;
# - COUNT generated puzzles of each level: qqwing --count-solutions finds them unique,
#   and rate puts them in the level asked.
# Prints Markdown tables; exits 1 when anything disagrees.
#
# Usage: bench/run-rate-qqwing.sh BUILD_DIR
# Environment: GRIDLARK_BENCH_DIR (default ../shared/bench), COUNT (default 20).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(cd "${1:?usage: run-rate-qqwing.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
sets_dir="$(cd "${GRIDLARK_BENCH_DIR:-$repo/../shared/bench}" && pwd)"
count="${COUNT:-20}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0

# The techniques up to pairs; qqwing grades with the same ones before it guesses.
basic='^(Full house|Hidden single in box|Hidden single in line|Naked single|Pointing|Claiming|Naked pair|Hidden pair)$'

echo "| set | puzzles | qqwing: singles only | of them easy here | qqwing: guesses | of them beyond pairs here | s (rate, all jobs) |"
echo "|---|---:|---:|---:|---:|---:|---:|"
for name in 17_clue_49158 magictour_top1465; do
  awk '!/^#/ { print substr($0, 1, 81); if (++n == 250) exit }' "$sets_dir/$name.txt" > "$work/sample"
  start=$(date +%s.%N)
  "$cli" --seed 1 rate --format line "$work/sample" > "$work/rated"
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  # One line per puzzle from qqwing: the pairs and intersections it used, its guesses.
  qqwing --solve --stats --nosolution < "$work/sample" | awk '
    /^Number of (Naked Pairs|Hidden Pairs|Pointing Pairs\/Triples|Box\/Line Intersections):/ { beyond += $NF }
    /^Number of Guesses:/ { guesses = $NF }
    /^Difficulty:/ { print beyond, guesses; beyond = 0; guesses = 0 }' > "$work/qqwing"
  [ "$(wc -l < "$work/qqwing")" -eq "$(wc -l < "$work/rated")" ] || { echo "$name: line counts differ" >&2; exit 1; }
  paste -d' ' "$work/qqwing" "$work/rated" | awk -v basic="$basic" -v name="$name" -v s="$seconds" '
    {
      # Fields: qqwing beyond-singles, guesses, puzzle, rating, level, "Technique: n, ...".
      rest = $0; for (i = 1; i <= 5; ++i) sub(/^[^ ]+ /, "", rest)
      n = split(rest, parts, /, /); beyondPairs = 0
      for (i = 1; i <= n; ++i) { sub(/: [0-9]+$/, "", parts[i]); if (parts[i] !~ basic) beyondPairs = 1 }
      ++total
      if ($2 > 0) { ++guessed; if (beyondPairs) ++guessedAgree; else print name ": " $3 " guessed by qqwing, " $4 " here" > "/dev/stderr" }
      else if ($1 == 0) { ++singles; if ($5 == "easy") ++singlesAgree; else print name ": " $3 " singles for qqwing, " $5 " here" > "/dev/stderr" }
    }
    END {
      printf "| %s | %d | %d | %d | %d | %d | %.2f |\n", name, total, singles, singlesAgree, guessed, guessedAgree, s
      exit !(singles == singlesAgree && guessed == guessedAgree)
    }' || failed=1
done

echo
forum="$sets_dir/forum_hardest_1106_375.txt"
"$cli" --seed 1 rate "$forum" > "$work/forum"
extreme=$(grep -c ' extreme' "$work/forum" || true)
echo "forum_hardest_1106_375: $extreme of $(wc -l < "$work/forum") rate extreme (of $(grep -vc '^#' "$forum") puzzles)"
[ "$extreme" -eq "$(grep -vc '^#' "$forum")" ] || failed=1

echo
echo "| level | generated | unique for qqwing --count-solutions | rated in the level | s (generate, all jobs) |"
echo "|---|---:|---:|---:|---:|"
for level in easy medium hard expert extreme; do
  start=$(date +%s.%N)
  "$cli" --seed 1 generate --level "$level" --count "$count" > "$work/generated"
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  unique=$(qqwing --solve --count-solutions --nosolution < "$work/generated" | grep -c 'is unique' || true)
  inLevel=$("$cli" rate "$work/generated" | awk -v l="$level" '$2 == l' | wc -l)
  printf '| %s | %d | %d | %d | %.2f |\n' "$level" "$(wc -l < "$work/generated")" "$unique" "$inLevel" "$seconds"
  [ "$unique" -eq "$count" ] && [ "$inLevel" -eq "$count" ] || failed=1
done
exit "$failed"
