#!/usr/bin/env bash
# The reliability figures: fuzzing (minutes, runs and kept corpora), kills during saves, a full
# disk, hostile servers, generated names and a soak run of 1,000 entries, each printed.
#   scripts/bench-reliability.sh [--fuzz SECONDS]   (--fuzz: run every fuzzer that long first)
# The kills, the full disk and the soak run the test programs of the Windows tree with larger
# counts than the suite does (HOLVEX_KILLS=200, HOLVEX_SOAK_ENTRIES=1000).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
fuzz_seconds=
if [ "${1:-}" = "--fuzz" ]; then fuzz_seconds=${2:-600}; fi

bash scripts/setup.sh >/dev/null
bash scripts/build.sh >/dev/null

echo "== fuzzing (libFuzzer, ASan and UBSan, native)"
if [ -n "$fuzz_seconds" ]; then bash scripts/fuzz.sh all "$fuzz_seconds"; fi
if [ -f build/fuzz/summary.txt ]; then
  echo "last runs of each target here:"
  for name in http_response url ini_document queue_file link_file; do
    grep " $name: " build/fuzz/summary.txt | tail -1 || echo "$name: not run here yet (scripts/fuzz.sh run $name 600)"
  done
fi
echo "kept corpora, replayed by the test suites:"
for corpus in tests/net/corpus/http_response tests/net/corpus/url tests/platform/corpus/ini_document \
  tests/queue/corpus/queue_file tests/queue/corpus/link_file; do
  printf "  %-36s %5d files %8d bytes\n" "$corpus" "$(ls "$corpus" | wc -l)" "$(cat "$corpus"/* | wc -c)"
done

echo "== names from addresses, the queue file and an edited cell"
build/native/bin/saved_name_tests --gtest_brief=1 | grep -E "names|FAILED" || true

. scripts/wine-env.sh
trap stop_private_wine EXIT
start_private_xvfb
start_wineserver
run() { scripts/wine-exec.sh "$@" --gtest_brief=1 2>&1 | grep -vE "^(Running main|Note: )" || true; }

echo "== kills during saves (the real holvex.exe for load.hvq, the settings save for load.ini)"
HOLVEX_KILLS=200 run build/$HOLVEX_WINDOWS_TREE/bin/crash_safety_tests.exe

echo "== a full disk (a 4 MB file system mounted for the run)"
tests/app/with_small_disk.sh 4096 build/$HOLVEX_WINDOWS_TREE/bin/full_disk_tests.exe --gtest_brief=1 2>&1 | tail -3 || true

echo "== hostile servers against the engine and the probe client"
run build/$HOLVEX_WINDOWS_TREE/bin/transfer_engine_tests.exe --gtest_filter='HostileServer*'
run build/$HOLVEX_WINDOWS_TREE/bin/net_tests.exe --gtest_filter='HostileServers*'

echo "== soak: 1,000 entries through the main window"
HOLVEX_SOAK_ENTRIES=1000 run build/$HOLVEX_WINDOWS_TREE/bin/soak_tests.exe
