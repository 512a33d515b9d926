#!/usr/bin/env bash
# The real holvex.exe downloads a 12 MB file at 200 KB/s while the about box is held open for
# SECONDS (default 40): prints how the entry ended and the file's size (12582912 is whole).
# Usage: scripts/check-held-dialog.sh [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
hold=${1:-40}
bash scripts/build.sh windows >/dev/null 2>&1 || cmake --build "build/$HOLVEX_WINDOWS_TREE" --target held_dialog_check >/dev/null
# A prefix of its own: its wineserver is stopped at the end without touching a test run's.
export WINEPREFIX=$top/build/check-prefix
. scripts/wine-env.sh
. scripts/demo-env.sh
cleanup() {
  stop_demo_server
  stop_private_wine
}
trap cleanup EXIT
start_private_xvfb
start_wineserver
start_demo_server 200 0
folder=$top/build/held-check
rm -rf "$folder"
mkdir -p "$folder/Downloads"
cp build/$HOLVEX_WINDOWS_TREE/bin/holvex.exe "$folder/"
printf '[treiber.zip]\r\nsize=12,00 MB\r\nstatus=Wartend\r\nurl=%s/treiber.zip\r\n' "$demo_url" >"$folder/load.hvq"
printf '[allgemein]\r\nsplashscreen=0\r\nstatus=1\r\ndownloadfolder=%s\r\n' "$(windows_path "$folder/Downloads")" \
  >"$folder/load.ini"
scripts/wine-exec.sh build/$HOLVEX_WINDOWS_TREE/bin/held_dialog_check.exe "$(windows_path "$folder")" "$hold"
