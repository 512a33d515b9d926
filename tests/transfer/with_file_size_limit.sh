#!/usr/bin/env bash
# Runs a Windows test program under Wine with a limit on the size of the files it writes, as a
# place that is nearly full: the write that crosses the limit comes back short, the next one
# fails. SIGXFSZ is ignored, or the limit would end the process instead.
# Usage: with_file_size_limit.sh LIMIT_KB PROGRAM [ARGUMENTS...]
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"
limit_kb=$1
shift
# The wineserver writes the registry: it must not start under the limit. One that runs already
# stays as it is; otherwise this one ends 5 s after its last client.
wineserver -p5 >/dev/null 2>&1 || true
export HOLVEX_FILE_SIZE_LIMIT=$((limit_kb * 1024))
trap '' XFSZ
ulimit -f "$limit_kb"  # bash counts in KB
exec "$top/scripts/wine-exec.sh" "$@"
