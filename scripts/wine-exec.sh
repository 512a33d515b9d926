#!/usr/bin/env bash
# Runs a Windows executable of the build under Wine; CTest uses it as the emulator.
# Wine takes the user locale from LC_ALL (LANG alone is not enough where the glibc locale is
# not installed); it is handed to Wine only, so that no shell complains about it. German by
# default: decimal ",", thousands ".", as the program's users have it.
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
exec env LC_ALL="${HOLVEX_LOCALE:-de_DE.UTF-8}" "$wine_command" "$@"  # as wine_in_locale
