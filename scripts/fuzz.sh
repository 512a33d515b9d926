#!/usr/bin/env bash
# Builds and runs the libFuzzer targets natively with clang (outside the CMake trees).
#   scripts/fuzz.sh build
#   scripts/fuzz.sh run NAME SECONDS     (NAME: one of the targets below)
#   scripts/fuzz.sh all SECONDS          (every target in turn, one at a time, and a summary)
# A run starts from the target's regression corpus, works in build/fuzz/work/<name>, and
# merges what it found back into the corpus (minimised), so the native and Windows test
# suites replay every kept input. Crashes land in build/fuzz/artifacts/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build/fuzz"
targets=(http_response url ini_document queue_file link_file)

# The sources each target is linked from, besides fuzz/<name>_fuzzer.cpp.
sources_of() {
  case $1 in
    http_response | url)
      echo "$top/tests/net/fuzz_drivers.cpp $(ls "$top"/src/net/*.cpp | grep -v '_win32\.cpp$') $top/src/platform/text.cpp" ;;
    ini_document)
      echo "$top/tests/platform/ini_fuzz_driver.cpp $top/src/platform/ini_document.cpp $top/src/platform/text.cpp" ;;
    queue_file | link_file)
      echo "$top/tests/queue/queue_fuzz_drivers.cpp $top/tests/support/confined_name.cpp" \
        "$top/src/queue/queue_file.cpp $top/src/queue/link_file.cpp $top/src/queue/download_address.cpp" \
        "$top/src/app/saved_file_name.cpp $top/src/transfer/paths.cpp $top/src/net/url_record.cpp" \
        "$top/src/platform/ini_document.cpp $top/src/platform/locale_format.cpp $top/src/platform/text.cpp" ;;
    *) echo "unknown fuzz target $1" >&2; return 1 ;;
  esac
}

# Where the target's kept inputs live (replayed by the corpus tests of that folder).
corpus_of() {
  case $1 in
    http_response | url) echo "$top/tests/net/corpus/$1" ;;
    ini_document) echo "$top/tests/platform/corpus/$1" ;;
    queue_file | link_file) echo "$top/tests/queue/corpus/$1" ;;
  esac
}

build_one() {
  local name=$1
  mkdir -p "$out"
  local flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
               -I "$top/src" -I "$top/tests")
  # shellcheck disable=SC2046
  clang++ "${flags[@]}" -o "$out/${name}_fuzzer" "$top/fuzz/${name}_fuzzer.cpp" $(sources_of "$name")
}

build() {
  for name in "${targets[@]}"; do build_one "$name"; done
}

run() {
  local name=$1 seconds=$2
  local corpus work="$out/work/$name"
  corpus=$(corpus_of "$name")
  mkdir -p "$corpus" "$work" "$out/artifacts"
  [ -x "$out/${name}_fuzzer" ] || build_one "$name"
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
  local line
  line="$name: ran $((ran / 60)) min $((ran % 60)) s, $(grep -m1 -o "stat::number_of_executed_units: [0-9]*" "$out/$name.log" | grep -o "[0-9]*$") runs, no finding, corpus $(ls "$corpus" | wc -l) files, $(cat "$corpus"/* | wc -c) bytes"
  echo "$line"
  echo "$(date -u +%F) $line" >>"$out/summary.txt"
}

case "${1:-build}" in
  build) build ;;
  run) run "$2" "${3:-600}" ;;
  all) for name in "${targets[@]}"; do run "$name" "${2:-600}"; done ;;
  *) echo "usage: $0 build | run NAME SECONDS | all SECONDS" >&2; exit 2 ;;
esac
