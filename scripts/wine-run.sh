#!/usr/bin/env bash
# Runs a Windows program under headless Wine, as CTest's emulator for the
# win32 build. A private prefix is made once (null graphics driver, so windows
# can be created without a display; Liberation fonts, so "Courier New" has
# its real metrics). Wine's helper processes would inherit and hold CTest's
# output pipe, so the program's output goes through a file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WEFT_WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

prepare_prefix() {
  [ -f "$WINEPREFIX/.weft-ready" ] && return
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  wineserver -k
  wineserver -w
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp /usr/share/fonts/truetype/liberation/LiberationMono-*.ttf "$fonts"/ 2>/dev/null || true
  touch "$WINEPREFIX/.weft-ready"
}

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
prepare_prefix
flock -u 9

out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
status=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $status
