#!/usr/bin/env bash
# Runs a Windows test program under Wine with a small file system of its own, mounted (as root)
# for the run: HOLVEX_SMALL_DISK names its folder. Exits 77 (skipped) where nothing can be
# mounted. Usage: with_small_disk.sh SIZE_KB PROGRAM [ARGUMENTS...]
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
size_kb=$1
shift
mnt=$(mktemp -d /tmp/holvex-small-disk.XXXXXX)
if ! mount -t tmpfs -o "size=${size_kb}k,mode=0777" holvex-small "$mnt" 2>/dev/null; then
  rmdir "$mnt"
  echo "no small file system: mounting needs root here" >&2
  exit 77
fi
cleanup() { umount "$mnt" 2>/dev/null || umount -l "$mnt"; rmdir "$mnt"; }
trap cleanup EXIT
export HOLVEX_SMALL_DISK="$mnt"
"$top/scripts/wine-exec.sh" "$@"
