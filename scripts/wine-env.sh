# Sourced by the scripts that run Windows programs under Wine: the loader,
# the environment they share and the making of a prefix. The prefix is a
# private 64-bit (WoW64) one made by the 64-bit loader, so Wine's own helper
# processes run as native 64-bit programs and only the 32-bit program under
# test needs the 32-bit loader (which may be emulated by qemu-user, see
# install-deps.sh).
wine64=/usr/lib/wine/wine64
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Under qemu-user the 32-bit loader sees a 4 GB address space and Wine probes
# the 2 GB above its user space limit 64 KB at a time, which takes a minute
# per process. A guest space ending just above the limit leaves Wine the
# same 2 GB and room for the stack. Without qemu nothing reads the variable.
export QEMU_RESERVED_VA=0x81000000

# Makes $WINEPREFIX once, with the Liberation Mono fonts, without a display
# so that no window opens while it is set up. Any arguments are registry
# values to add first, each as "KEY|NAME|DATA". Holds $WINEPREFIX.lock on
# file descriptor 9 from then on, so prefixes are made one at a time.
prepare_wine_prefix() {
  local marker=$WINEPREFIX/.weft-ready-2 setting key name data
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ -f "$marker" ]; then
    grep -q '^#arch=win64' "$WINEPREFIX/system.reg" && return 0
    echo "$WINEPREFIX is a 32-bit prefix; remove it so a 64-bit one can be made" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX"
  DISPLAY= "$wine64" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  for setting in "$@"; do
    IFS='|' read -r key name data <<<"$setting"
    DISPLAY= "$wine64" reg add "$key" /v "$name" /d "$data" /f >/dev/null 2>&1 </dev/null
  done
  wineserver -k
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/fonts/truetype/liberation/LiberationMono-*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$marker"
}
