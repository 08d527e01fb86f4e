#!/usr/bin/env bash
# Starts the dialog when there is a display; otherwise shows the solver at work on
# the sample grid with the command-line tool.
set -euo pipefail
build_dir="$1"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build_dir/app/gridlark" ]; then
  exec "$build_dir/app/gridlark"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): solving samples/puzzle.txt with gridlark-cli instead."
exec "$build_dir/cli/gridlark-cli" solve samples/puzzle.txt
