#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix made fresh for the run, with a wineserver
# of its own, as on a computer where nothing was ever installed; the tests' shared prefix
# stays as it is. Usage: with_fresh_prefix.sh PREFIX PROGRAM [ARGUMENTS...]
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=$1
shift
. "$top/scripts/wine-env.sh"
stop_wineserver
rm -rf "$WINEPREFIX"
trap stop_wineserver EXIT
start_wineserver
"$top/scripts/wine-exec.sh" "$@"
status=$?
# About 600 MB: kept only when it can tell why a test failed.
if [ $status -eq 0 ]; then
  stop_wineserver
  rm -rf "$WINEPREFIX"
fi
exit $status
