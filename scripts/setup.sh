#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian bookworm machine (root).
# Run it as often as you like: each step is skipped when its result is already there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in wine wine32:i386 wine64 mingw-w64 g++-mingw-w64-i686-posix xvfb xauth imagemagick \
         googletest libjpeg62-turbo-dev cmake ninja-build dpkg-dev clang libclang-rt-14-dev \
         python3-pyftpdlib x11-utils fonts-wine fonts-liberation nsis; do
  have_pkg "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# libjpeg-turbo for the Windows build: Debian's own source, compiled with mingw, static.
jpeg_prefix=$top/build/deps/libjpeg-win32
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  echo "setup: building libjpeg-turbo for win32"
  work=$top/build/deps/jpeg-src
  rm -rf "$work"; mkdir -p "$work/lists/partial"
  chown -R _apt "$work" 2>/dev/null || true
  # A private apt configuration with deb-src lines, so the machine's sources stay as they are.
  src_list=$work/sources.list
  : > "$src_list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '/^URIs:/{u=$2} /^Suites:/{s=""; for(i=2;i<=NF;i++) s=s" "$i} /^Components:/{c=""; for(i=2;i<=NF;i++) c=c" "$i}
         /^$/{ if(u!=""){n=split(s,a," "); for(i=1;i<=n;i++) print "deb-src [trusted=yes] " u " " a[i] c}; u=""}
         END{ if(u!=""){n=split(s,a," "); for(i=1;i<=n;i++) print "deb-src [trusted=yes] " u " " a[i] c}}' "$f" >> "$src_list"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(\[[^]]*\] \)\?/deb-src [trusted=yes] /p' /etc/apt/sources.list >> "$src_list"
  fi
  opts=(-o Dir::Etc::SourceList="$src_list" -o Dir::Etc::SourceParts=/nonexistent
        -o Dir::State::Lists="$work/lists")
  apt-get "${opts[@]}" update -qq
  (cd "$work" && apt-get "${opts[@]}" source -qq --download-only libjpeg-turbo >/dev/null)
  (cd "$work" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 \
    -DWITH_TURBOJPEG=0 -DWITH_JPEG8=0 -Wno-dev >/dev/null
  cmake --build "$work/build" --target install >/dev/null
  rm -rf "$work"
fi
echo "setup: done"
