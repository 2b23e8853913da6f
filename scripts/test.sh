#!/usr/bin/env bash
# Builds the three presets and runs every test: the native unit and export
# tests (under AddressSanitizer and UBSan), then the Windows tier (the DLL's
# image, the DLL loaded by a 32-bit host program under Wine, weftrender, and
# the DLL's replay transcripts against the native library's; in both, a host
# project built against the installed package), then each fuzz target for
# about a minute on its seeds (scripts/fuzz.sh).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=${WEFT_JOBS:-2}

for preset in native release win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset native -j "$jobs"
ctest --preset win32
scripts/fuzz.sh
