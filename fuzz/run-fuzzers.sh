#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, one after the other.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
# New inputs go to BUILD_DIR/fuzz/work/<target>; the committed seeds are only read.
set -euo pipefail
build_dir="$1"
seconds="$2"
here="$(cd "$(dirname "$0")" && pwd)"

status=0
for corpus in "$here"/corpus/*/; do
  name="$(basename "$corpus")"
  target="$build_dir/fuzz/fuzz_$name"
  work="$build_dir/fuzz/work/$name"
  mkdir -p "$work"
  options=(-max_total_time="$seconds" -max_len=4096 -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build_dir/fuzz/")
  [ -f "$here/$name.dict" ] && options+=(-dict="$here/$name.dict")
  echo "fuzz: $name for $seconds s"
  if ! "$target" "${options[@]}" "$work" "$corpus" >"$build_dir/fuzz/$name.log" 2>&1; then
    echo "fuzz: $name FAILED; the last lines of $build_dir/fuzz/$name.log:" >&2
    tail -40 "$build_dir/fuzz/$name.log" >&2
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$build_dir/fuzz/$name.log" | sed "s/^/fuzz: $name /"
done
exit $status
