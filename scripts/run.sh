#!/usr/bin/env bash
# The main job: builds the win32 preset (weftcore.dll, its import library,
# weftrender and the Windows tests), then lets weftrender paint every source
# in examples/ through the DLL under Wine, in the light and the dark theme,
# and prints where the PNG pictures are. Extra arguments go to weftrender
# (for example --select 5:1 7:10). A machine that cannot run 32-bit programs,
# even through qemu-user (see install-deps.sh), cannot load the DLL: run.sh
# then says so and fails.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${WEFT_JOBS:-2}" >/dev/null

if ! timeout 20 /usr/lib/wine/wine64 --version >/dev/null 2>&1 ||
   ! timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "This machine cannot run 32-bit programs (nor emulate them through qemu-user), so Wine" >&2
  echo "cannot load weftcore.dll and nothing was rendered. build/win32/weftcore.dll and" >&2
  echo "build/win32/weftrender.exe are built; scripts/install-deps.sh, run as root, sets up qemu-user." >&2
  exit 1
fi

for theme in light dark; do
  (cd build/win32 &&
   ../../scripts/wine-run.sh weftrender.exe --theme "$theme" --line-numbers "$@" --out-dir ../pictures ../../examples/*.st)
done
echo "The pictures of examples/ in both themes are in $(pwd)/build/pictures"
