#!/usr/bin/env bash
# Download speed of the transfer engine under Wine, and of a whole download run through the
# main window: a 200 MB file from a loopback server,
# fetched by the engine (dialog hidden, a progress handler attached) and by the bare
# 4096-byte InternetReadFile loop, 5 rounds each, medians and ratio; curl's time for
# reference. The whole run goes RUN_ROUNDS times with the extra window and without it, the two
# taking turns going first. Usage: scripts/bench-engine.sh [ROUNDS] [RUN_ROUNDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
rounds=${1:-5}
run_rounds=${2:-9}
bash scripts/build.sh windows >/dev/null 2>&1 || cmake --build "build/$HOLVEX_WINDOWS_TREE" --target transfer_engine_bench >/dev/null
. scripts/wine-env.sh
. scripts/file-server.sh

work=$(mktemp -d /tmp/holvex-bench.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  stop_private_wine
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/out"
head -c 209715200 /dev/urandom >"$work/www/200mb.bin"
start_file_server "$work/www" 18080
url="http://127.0.0.1:$server_port/200mb.bin"

echo "== curl (reference)"
for i in $(seq 1 "$rounds"); do
  curl -s -o /dev/null -w "curl %{time_total} s\n" "$url"
done

echo "== engine and bare loop under Wine"
start_private_xvfb
start_wineserver
wine_in_locale build/$HOLVEX_WINDOWS_TREE/bin/transfer_engine_bench.exe "$url" "Z:${work//\//\\}\\out" "$rounds"

echo "== a download run through the real main window (extra window shown) and the bare loop"
wine_in_locale build/$HOLVEX_WINDOWS_TREE/bin/run_bench.exe "$url" "Z:${work//\//\\}\\out" "$run_rounds"
