#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian bookworm machine (root).
# Run it as often as you like: each step is skipped when its result is already there.
#
# An archive caught mid-sync serves some index files whole and others not ("File has unexpected
# size ... Mirror sync in progress?"). Then `apt-get update` is tried a few times; if an index
# still fails, the install goes on with what came, and if that install fails, it is made once
# more from the suites whose indexes came whole (a private pin file: the machine's own apt
# sources stay as they are). Only when that fails too does the script stop, naming the step.
set -eEuo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

step=start
apt_log=$(mktemp)
trap 'rm -f "$apt_log" "${pin_file:-}"' EXIT
fail() {
  echo "setup: step \"$step\" failed${1:+: $1}" >&2
  if [ -s "$apt_log" ]; then
    echo "setup: the archive's answer:" >&2
    grep -E '^(E|W|Err):' "$apt_log" | head -n 12 >&2 || tail -n 12 "$apt_log" >&2
  fi
  exit 1
}
trap 'fail' ERR
begin() { step=$1; echo "setup: $1"; }

# The suites whose index files failed in the last update, one per line (the dists/ folder name).
failed_suites() {
  { grep -o 'Failed to fetch [^ ]*' "$apt_log" || true; } | sed -n 's|.*/dists/\([^/]*\)/.*|\1|p' | sort -u
}

# apt-get update with the given options, tried three times. Returns 0 even when some index files
# still failed: their suites are then listed by failed_suites.
apt_update() {
  local try
  for try in 1 2 3; do
    if apt-get "$@" update -q > "$apt_log" 2>&1 && ! grep -q '^E:' "$apt_log"; then
      return 0
    fi
    grep -q 'Failed to fetch' "$apt_log" || fail "apt-get update"
    [ "$try" = 3 ] || { echo "setup: some index files failed, trying again in 15 s"; sleep 15; }
  done
  echo "setup: index files of $(failed_suites | paste -sd' ') still fail: going on with what came"
}

# Every suite of the machine's apt sources, one per line.
all_suites() {
  {
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^Suites:[[:space:]]*//p' | tr ' ' '\n'
    sed -n 's/^deb\(-src\)\?[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?[^[:space:]]\+[[:space:]]\+\([^[:space:]]\+\).*/\3/p' \
      /etc/apt/sources.list 2>/dev/null
  } | sed '/^$/d' | sort -u
}

# A private preferences file that makes apt take every package from the given suites, at their
# versions: a package needed in both architectures (libexpat1 and libexpat1:i386) must have one
# version in both, and without a suite's i386 index only these suites have both.
pin_to_suites() {
  pin_file=$(mktemp)
  local suite
  for suite in "$@"; do
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n\n' "$suite"
    printf 'Package: *\nPin: release a=%s\nPin-Priority: 1001\n\n' "$suite"
  done > "$pin_file"
}

# Runs an apt-get command; when it fails after an update that left suites out, runs it once more
# from the suites whose indexes came whole.
apt_with_fallback() {
  local left_out whole
  left_out=$(failed_suites | paste -sd' ')
  apt-get "$@" > "$apt_log.run" 2>&1 && { rm -f "$apt_log.run"; return 0; }
  if [ -z "$left_out" ]; then
    mv "$apt_log.run" "$apt_log"
    fail
  fi
  whole=$(all_suites | grep -vxF -f <(failed_suites) | paste -sd' ' || true)
  [ -n "$whole" ] || { mv "$apt_log.run" "$apt_log"; fail "no suite came whole"; }
  # shellcheck disable=SC2086
  pin_to_suites $whole
  echo "setup: installing again from $whole alone, without $left_out, whose index files did not come whole" \
    "(packages needed in both architectures take their versions from there)"
  if ! apt-get -o Dir::Etc::Preferences="$pin_file" --allow-downgrades "$@" > "$apt_log" 2>&1; then
    fail "also without $left_out"
  fi
  rm -f "$apt_log.run"
}

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in wine wine32:i386 wine64 mingw-w64 g++-mingw-w64-i686-posix xvfb xauth imagemagick \
         googletest libjpeg62-turbo-dev cmake ninja-build dpkg-dev clang libclang-rt-14-dev \
         python3-pyftpdlib x11-utils fonts-wine fonts-liberation nsis; do
  have_pkg "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  begin "adding the i386 architecture"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  begin "apt-get update"
  apt_update
  begin "installing ${need[*]}"
  apt_with_fallback install -y -q --no-install-recommends "${need[@]}"
fi

# libjpeg-turbo for the Windows builds: Debian's own source, compiled with mingw, static. The
# 64-bit one serves the tests on a machine that runs no 32-bit code (scripts/wine-env.sh).
fetch_jpeg_source() {
  begin "fetching the libjpeg-turbo source"
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
        -o Dir::State::Lists="$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
  apt_update "${opts[@]}"
  (cd "$work" && apt_with_fallback "${opts[@]}" source -q --download-only libjpeg-turbo)
  (cd "$work" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  : > "$apt_log"
}

work=$top/build/deps/jpeg-src
for arch in win32:i686 win64:x86_64; do
  jpeg_prefix=$top/build/deps/libjpeg-${arch%%:*}
  [ -f "$jpeg_prefix/lib/libjpeg.a" ] && continue
  [ -d "$work/src" ] || fetch_jpeg_source
  begin "building libjpeg-turbo for ${arch%%:*}"
  rm -rf "$work/build"
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-${arch#*:}.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 \
    -DWITH_TURBOJPEG=0 -DWITH_JPEG8=0 -Wno-dev >/dev/null
  cmake --build "$work/build" --target install >/dev/null
done
rm -rf "$work"
echo "setup: done"
