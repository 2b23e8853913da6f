#!/usr/bin/env bash
# Runs a Windows program under headless Wine, as CTest's emulator for the
# win32 build, in a prefix of its own (see wine-env.sh). The prefix gets the
# null graphics driver, so windows can be created without a display, and
# Liberation Mono also under the name "Courier New", so that face exists and
# has its real metrics. Wine's helper processes would inherit and hold
# CTest's output pipe, so the program's output goes through a file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
export WINEPREFIX=${WEFT_WINEPREFIX:-$here/../build/wineprefix}

prepare_wine_prefix 'HKCU\Software\Wine\Drivers|Graphics|null' \
  'HKCU\Software\Wine\Fonts\Replacements|Courier New|Liberation Mono' || exit 1
flock -u 9

out=$(mktemp)
"$wine64" "$@" >"$out" 2>&1 </dev/null
status=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $status
