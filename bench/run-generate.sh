#!/usr/bin/env bash
# Puzzle generation on one core, per box size and level, with qqwing --generate beside
# the 9x9 rows. Every puzzle made is counted again by gridlark-cli count (the search
# solver, not the generator's own counter; each count stops after COUNT_TIMEOUT seconds,
# since on sparse 25x25 grids it may not end for hours) and rated again. A count that
# finds more or fewer than one solution, or a puzzle outside its level, makes the script
# exit 1; unfinished counts are shown as such.
#
# Usage: bench/run-generate.sh BUILD_DIR
# Environment: COUNT9 (default 50), COUNT16 (default 10), COUNT25 (default 2), SEED (default 1),
#              COUNT_TIMEOUT (default 30).
set -euo pipefail

cli="$(cd "${1:?usage: run-generate.sh BUILD_DIR}" && pwd)/cli/gridlark-cli"
count9="${COUNT9:-50}"
count16="${COUNT16:-10}"
count25="${COUNT25:-2}"
seed="${SEED:-1}"
count_timeout="${COUNT_TIMEOUT:-30}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0

now() { date +%s.%N; }

# qqwing's grades closest to each level here (it has four; nothing beyond expert).
declare -A qqwing_grade=([easy]=simple [medium]=intermediate [hard]=expert)

echo "| size | level | puzzles | s | puzzles/s | one solution (gridlark-cli count) | rated in the level | qqwing --difficulty | puzzles | s | puzzles/s |"
echo "|---|---|---:|---:|---:|---:|---:|---|---:|---:|---:|"
for size in 3 4 5; do
  case "$size" in 3) count="$count9" ;; 4) count="$count16" ;; 5) count="$count25" ;; esac
  for level in easy medium hard expert extreme; do
    start=$(now)
    "$cli" --jobs 1 --seed "$seed" generate --size "$size" --level "$level" --count "$count" > "$work/made"
    seconds=$(echo "$(now) - $start" | bc)
    "$cli" --jobs 1 count --max 2 --timeout "$count_timeout" "$work/made" > "$work/counts" 2> /dev/null || true
    unique=$(grep -cx 1 "$work/counts" || true)
    # "at least 0" or "at least 1": the count stopped at its time limit.
    unfinished=$(grep -cE '^at least [01]$' "$work/counts" || true)
    inLevel=$("$cli" --jobs 1 rate "$work/made" | awk -v l="$level" '$2 == l' | wc -l)
    [ $((unique + unfinished)) -eq "$count" ] && [ "$inLevel" -eq "$count" ] || failed=1
    counted="$unique"
    [ "$unfinished" -eq 0 ] || counted+=" ($unfinished unfinished in ${count_timeout} s)"
    row=$(printf '| %dx%d | %s | %d | %.2f | %.2f | %s | %d |' $((size * size)) $((size * size)) "$level" "$count" \
      "$seconds" "$(echo "$count / $seconds" | bc -l)" "$counted" "$inLevel")
    grade="${qqwing_grade[$level]:-}"
    if [ "$size" -eq 3 ] && [ -n "$grade" ]; then
      start=$(now)
      qqwing --generate "$count" --difficulty "$grade" --one-line > /dev/null
      seconds=$(echo "$(now) - $start" | bc)
      row+=$(printf ' %s | %d | %.2f | %.2f |' "$grade" "$count" "$seconds" "$(echo "$count / $seconds" | bc -l)")
    else
      row+=' | | | |'
    fi
    echo "$row"
  done
done
exit "$failed"
