#!/usr/bin/env bash
# Checks weftcore.dll's image without running it: it imports only system
# DLLs, and its exports are exactly the undecorated names of the interface
# declared in include/weftcore.h.
set -eu
dll=$1
header=$(dirname "$0")/../include/weftcore.h
dump=$(i686-w64-mingw32-objdump -p "$dll")

status=0
while read -r name; do
  case "${name,,}" in
    kernel32.dll|msvcrt.dll|gdi32.dll|user32.dll) ;;
    *) echo "imports a non-system DLL: $name"; status=1 ;;
  esac
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")

declared=$(sed -n 's/.*WEFT_CALL \**\([A-Za-z]*\)(.*/\1/p' "$header" | sort -u)
exports=$(awk '/Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} {on=0}' <<<"$dump" | sort -u)
[ -n "$exports" ] || { echo "no exports found"; exit 1; }
for name in $exports; do
  grep -qx "$name" <<<"$declared" || { echo "unexpected or decorated export: $name"; status=1; }
done
for name in $declared; do
  grep -qx "$name" <<<"$exports" || { echo "declared but not exported: $name"; status=1; }
done
echo "$(wc -w <<<"$exports") exports, all undecorated and declared, none missing; imports: $(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '\n' ' ')"
exit $status
