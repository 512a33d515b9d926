#!/usr/bin/env bash
# Builds if needed and starts holvex.exe under Wine: on $DISPLAY, or on a private Xvfb when
# there is none (then a screenshot is saved to build/run-screenshot.png after a few seconds).
#   bash scripts/run.sh          the program in build/run, with the user's own load.hvq/load.ini
#   bash scripts/run.sh --demo   a download run from a loopback server with sample files, in
#                                build/demo (needs no internet access; build/run stays as it is)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
demo=0
case "${1:-}" in
  --demo) demo=1 ;;
  "") ;;
  *) echo "usage: bash scripts/run.sh [--demo]" >&2; exit 2 ;;
esac
bash scripts/setup.sh >/dev/null
bash scripts/build.sh windows >/dev/null
. scripts/wine-env.sh
. scripts/demo-env.sh
xvfb_pid=
cleanup() {
  stop_demo_server
  if [ -n "$xvfb_pid" ]; then
    stop_wineserver
    kill "$xvfb_pid" 2>/dev/null
  fi
  true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ $demo = 1 ]; then
  run_dir=$top/build/demo
  # Bodies at 1 MB/s: the run takes about half a minute and can be watched.
  start_demo_server 1024 0.3
  prepare_demo_folder "$run_dir" 1
  echo "demo: $demo_url serves the samples; the program, its downloads and links.txt (for"
  echo "      Datei -> Importieren) are in build/demo"
else
  run_dir=$top/build/run
  mkdir -p "$run_dir"
  cp build/$HOLVEX_WINDOWS_TREE/bin/holvex.exe "$run_dir/"
  echo "run: build/run/holvex.exe (without internet access: bash scripts/run.sh --demo)"
fi

if [ -n "${DISPLAY:-}" ]; then
  install_prefix_fonts
  scripts/wine-exec.sh "$run_dir/holvex.exe"
  exit 0
fi
start_private_xvfb
start_wineserver
scripts/wine-exec.sh "$run_dir/holvex.exe" &
app=$!
sleep "${HOLVEX_SHOT_DELAY:-15}"
import -window root "$top/build/run-screenshot.png" && echo "screenshot: build/run-screenshot.png"
wait "$app"
