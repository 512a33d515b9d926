#!/usr/bin/env bash
# Restore and save times of large queues under Wine (prints four figures).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh >/dev/null
bash scripts/build.sh windows >/dev/null
. scripts/wine-env.sh
trap stop_private_wine EXIT
start_private_xvfb
start_wineserver
scripts/wine-exec.sh build/$HOLVEX_WINDOWS_TREE/bin/queue_bench.exe
