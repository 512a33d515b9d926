#!/usr/bin/env bash
# Builds if needed and starts holvex.exe under Wine: on $DISPLAY, or on a private Xvfb when
# there is none (then a screenshot is saved to build/run-screenshot.png after a few seconds).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh >/dev/null
bash scripts/build.sh win32 >/dev/null
. scripts/wine-env.sh
run_dir=$top/build/run
mkdir -p "$run_dir"
cp build/win32/bin/holvex.exe "$run_dir/"
if [ -n "${DISPLAY:-}" ]; then
  exec scripts/wine-exec.sh "$run_dir/holvex.exe"
fi
xvfb_pid=
cleanup() { stop_wineserver; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; true; }
trap cleanup EXIT
start_private_xvfb
start_wineserver
scripts/wine-exec.sh "$run_dir/holvex.exe" &
app=$!
sleep "${HOLVEX_SHOT_DELAY:-15}"
import -window root "$top/build/run-screenshot.png" && echo "screenshot: build/run-screenshot.png"
wait "$app"
