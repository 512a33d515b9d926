#!/usr/bin/env bash
# Configures and builds the trees: build/native (portable code, sanitizers), build/win32 (the
# program for users) and, where the machine runs no 32-bit code, build/win64 for the tests
# (scripts/wine-env.sh). "windows" builds the tree that Wine runs here.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
. scripts/wine-env.sh
jobs=$(nproc)
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
configure_windows() {  # tree, toolchain's processor, more options
  [ -f "build/$1/build.ninja" ] && return 0
  cmake -S . -B "build/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-$2.cmake" \
    -DJPEG_WIN32_PREFIX="$top/build/deps/libjpeg-$1" "${@:3}" >/dev/null
}
configure_windows win32 i686
[ "$HOLVEX_WINDOWS_TREE" = win32 ] || configure_windows win64 x86_64 -DHOLVEX_CHECKED_TREE="$top/build/win32"
build() { cmake --build "build/$1" -j "$jobs"; }
case "${1:-all}" in
  native) build native ;;
  win32) build win32 ;;
  windows) build "$HOLVEX_WINDOWS_TREE" ;;
  *)
    build native && build win32
    [ "$HOLVEX_WINDOWS_TREE" = win32 ] || build win64
    ;;
esac
