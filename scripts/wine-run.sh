#!/usr/bin/env bash
# Runs a Windows program under headless Wine, as CTest's emulator for the
# win32 build. A private 64-bit (WoW64) prefix is made once by the 64-bit
# loader, so Wine's own helper processes run as native 64-bit programs and
# only the 32-bit program under test needs the 32-bit loader (which may be
# emulated by qemu-user, see install-deps.sh). The prefix gets the null
# graphics driver, so windows can be created without a display, and the
# Liberation fonts, with Liberation Mono installed under the name "Courier
# New", so that face exists and has its real metrics. Wine's helper
# processes would inherit and hold CTest's output pipe, so the program's
# output goes through a file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine64=/usr/lib/wine/wine64
export WINEPREFIX=${WEFT_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Under qemu-user the 32-bit loader sees a 4 GB address space and Wine probes
# the 2 GB above its user space limit 64 KB at a time, which takes a minute
# per process. A guest space ending just above the limit leaves Wine the
# same 2 GB and room for the stack. Without qemu nothing reads the variable.
export QEMU_RESERVED_VA=0x81000000

prepare_prefix() {
  if [ -f "$WINEPREFIX/.weft-ready-2" ]; then
    grep -q '^#arch=win64' "$WINEPREFIX/system.reg" && return 0
    echo "$WINEPREFIX is a 32-bit prefix; remove it so a 64-bit one can be made" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX"
  "$wine64" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  "$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f \
    >/dev/null 2>&1 </dev/null
  wineserver -k
  wineserver -w
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp /usr/share/fonts/truetype/liberation/LiberationMono-*.ttf "$fonts"/ 2>/dev/null || true
  touch "$WINEPREFIX/.weft-ready-2"
}

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
prepare_prefix || exit 1
flock -u 9

out=$(mktemp)
"$wine64" "$@" >"$out" 2>&1 </dev/null
status=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $status
