#!/usr/bin/env bash
# A download above 4 GiB under Wine: 5,000,000,000 bytes (a DVD image's size) from a loopback
# server, fetched by the bare 4096-byte InternetReadFile loop and by a whole run through the
# real main window with the extra window shown. Prints both times and their ratio, whether the
# run ended "Fertig" with every byte, and whether its texts stayed sensible on the way.
# Takes several minutes (each download about 3-4 minutes here) and needs twice 5 GB of free
# disk at most, so it is no test. Usage: scripts/bench-bigfile.sh [ROUNDS] [BYTES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
rounds=${1:-1}
bytes=${2:-5000000000}
bash scripts/build.sh windows >/dev/null 2>&1 || cmake --build "build/$HOLVEX_WINDOWS_TREE" --target run_bench >/dev/null
. scripts/wine-env.sh
. scripts/file-server.sh

work=$(mktemp -d /tmp/holvex-bigfile.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  stop_private_wine
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/out"
# Never written: a sparse file reads as zeros at the disk cache's speed.
truncate -s "$bytes" "$work/www/big.iso"
start_file_server "$work/www" 18480

echo "== $bytes bytes: the bare loop and a run through the main window (extra window shown)"
start_private_xvfb
start_wineserver
wine_in_locale build/$HOLVEX_WINDOWS_TREE/bin/run_bench.exe "http://127.0.0.1:$server_port/big.iso" "Z:${work//\//\\}\\out" \
  "$rounds" --extra-window-only
