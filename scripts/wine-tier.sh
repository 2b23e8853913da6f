#!/usr/bin/env bash
# Runs the Windows test program under Wine, or reports the tier as skipped
# (exit 77) where Wine's 64-bit loader is missing or its 32-bit loader cannot
# start: a kernel without 32-bit support needs the qemu-user handler that
# scripts/install-deps.sh registers.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if ! timeout 20 /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  echo "SKIPPED: Wine's 64-bit loader is missing (package wine64; see scripts/install-deps.sh)."
  echo "The DLL's image (imports and undecorated exports) is still checked by DllImage.Objdump."
  exit 77
fi
if ! timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: this machine cannot run 32-bit programs (nor emulate them through qemu-user),"
  echo "so Wine cannot load the 32-bit DLL here; scripts/install-deps.sh, run as root, sets that up."
  echo "The DLL's image (imports and undecorated exports) is still checked by DllImage.Objdump."
  exit 77
fi
exec "$here/wine-run.sh" "$@"
