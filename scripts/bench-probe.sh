#!/usr/bin/env bash
# Benchmark of the probe client: 1,000 sequential HEAD probes to a loopback server that keeps
# the connection open, against curl making the same 1,000 HEAD requests over one connection in
# one process. Builds an optimised native copy (no sanitizers) in build/bench and prints both
# times and the ratio client/curl (at most 1.0 is the target); then the Windows build, WinSock
# as the program probes, under Wine (curl has no part there).
#   scripts/bench-probe.sh [rounds]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build/bench"
mkdir -p "$out"
sources=$(ls "$top"/src/net/*.cpp | grep -v '_win32\.cpp$')
# shellcheck disable=SC2086
g++ -std=c++20 -O2 -DNDEBUG -fexec-charset=CP1252 -pthread -I "$top/src" -I "$top/tests" \
  -o "$out/probe_bench" "$top/tests/net/bench/probe_bench.cpp" $sources "$top/src/platform/text.cpp" \
  "$top/tests/support/scripted_http_server.cpp"
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }
curl --version | head -1
"$out/probe_bench" "$out/curl.cfg" "${1:-3}"

cd "$top"
. scripts/wine-env.sh
cmake --build "build/$HOLVEX_WINDOWS_TREE" --target probe_bench >/dev/null
trap stop_private_wine EXIT
start_wineserver
scripts/wine-exec.sh build/$HOLVEX_WINDOWS_TREE/bin/probe_bench.exe x "${1:-3}"
