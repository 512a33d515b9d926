#!/usr/bin/env bash
# Runs a Windows executable of the build under Wine; CTest uses it as the emulator.
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
exec wine "$@"
