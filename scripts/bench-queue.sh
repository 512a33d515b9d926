#!/usr/bin/env bash
# Restore and save times of large queues under Wine (prints four figures).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh >/dev/null
bash scripts/build.sh win32 >/dev/null
. scripts/wine-env.sh
trap stop_private_wine EXIT
start_private_xvfb
start_wineserver
scripts/wine-exec.sh build/win32/bin/queue_bench.exe
