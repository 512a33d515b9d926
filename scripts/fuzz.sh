#!/usr/bin/env bash
# Builds and runs the libFuzzer targets natively with clang (outside the CMake trees).
#   scripts/fuzz.sh build
#   scripts/fuzz.sh run http_response|url SECONDS
# A run starts from the regression corpus in tests/net/corpus/<name>, works in
# build/fuzz/work/<name>, and merges what it found back into the corpus (minimised), so the
# net_tests replay every kept input. Crashes land in build/fuzz/artifacts/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build/fuzz"
net_sources=$(ls "$top"/src/net/*.cpp | grep -v '_win32\.cpp$')

build() {
  mkdir -p "$out"
  local flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
               -I "$top/src" -I "$top/tests")
  for name in http_response url; do
    # shellcheck disable=SC2086
    clang++ "${flags[@]}" -o "$out/${name}_fuzzer" "$top/fuzz/${name}_fuzzer.cpp" \
      "$top/tests/net/fuzz_drivers.cpp" $net_sources "$top/src/platform/text.cpp"
  done
}

run() {
  local name=$1 seconds=$2
  local corpus="$top/tests/net/corpus/$name" work="$out/work/$name"
  mkdir -p "$corpus" "$work" "$out/artifacts"
  [ -x "$out/${name}_fuzzer" ] || build
  local start=$SECONDS
  "$out/${name}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/artifacts/${name}-" -print_final_stats=1 "$work" "$corpus" 2>"$out/$name.log" || {
    echo "fuzzer $name stopped with a finding; see $out/$name.log and $out/artifacts" >&2
    tail -40 "$out/$name.log" >&2
    return 1
  }
  local ran=$((SECONDS - start))
  # Keep a minimised corpus: only inputs that add coverage.
  local merged="$out/merged/$name"
  rm -rf "$merged" && mkdir -p "$merged"
  "$out/${name}_fuzzer" -merge=1 -max_len=4096 "$merged" "$corpus" "$work" 2>>"$out/$name.log"
  rm -f "$corpus"/* && cp "$merged"/* "$corpus"/
  echo "$name: ran ${ran}s, $(grep -m1 -o "stat::number_of_executed_units: [0-9]*" "$out/$name.log" | grep -o "[0-9]*$") runs, corpus $(ls "$corpus" | wc -l) files, $(cat "$corpus"/* | wc -c) bytes"
}

case "${1:-build}" in
  build) build ;;
  run) run "$2" "${3:-600}" ;;
  *) echo "usage: $0 build | run NAME SECONDS" >&2; exit 2 ;;
esac
