#!/usr/bin/env bash
# Runs the Windows test program under Wine, or reports the tier as skipped
# (exit 77) on a machine that cannot execute 32-bit programs, where Wine's
# 32-bit loader cannot start.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if ! timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: this machine cannot run 32-bit programs, so Wine cannot load the 32-bit DLL here."
  echo "The DLL's image (imports and undecorated exports) is still checked by DllImage.Objdump."
  exit 77
fi
exec "$here/wine-run.sh" "$@"
