#!/usr/bin/env bash
# The one command that sets up a fresh machine and runs every test: installs what is missing,
# builds both trees, runs the native tests, then the Windows tests under Wine on a private Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
bash scripts/build.sh
status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j 2) || status=1

echo "== Windows tests under Wine"
. scripts/wine-env.sh
trap stop_private_wine EXIT
start_private_xvfb
echo "Xvfb on $DISPLAY; booting the Wine prefix"
start_wineserver
# scripts/wine-exec.sh runs every test under a German user locale.
(cd "build/$HOLVEX_WINDOWS_TREE" && ctest --output-on-failure -j 2) || status=1
exit $status
