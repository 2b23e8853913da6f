#!/usr/bin/env bash
# The main job: builds weftcore.dll and runs the demo host, which loads the
# library, prints its version and round-trips a text. The host runs under
# Wine against the DLL; on a machine that cannot run 32-bit programs it runs
# natively against libweftcore.so instead, and says so.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in win32 release; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "${WEFT_JOBS:-2}" >/dev/null
done

if timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  (cd build/win32 && ../../scripts/wine-run.sh demo_host.exe "$@")
else
  echo "(this machine cannot run 32-bit programs: running the demo host natively against libweftcore.so)"
  build/release/tools/demo_host build/release/api/libweftcore.so "$@"
fi
