#!/usr/bin/env bash
# Configures and builds both trees: build/native (portable code, sanitizers) and build/win32.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
if [ ! -f build/win32/build.ninja ]; then
  cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
    -DJPEG_WIN32_PREFIX="$top/build/deps/libjpeg-win32" >/dev/null
fi
case "${1:-all}" in
  native) cmake --build build/native -j "$jobs" ;;
  win32) cmake --build build/win32 -j "$jobs" ;;
  *) cmake --build build/native -j "$jobs" && cmake --build build/win32 -j "$jobs" ;;
esac
