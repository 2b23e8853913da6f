#!/usr/bin/env bash
# Checks the installed package the way a host project uses it. Installs the
# build in $1 into $1/package-test/install, configures and builds
# examples/embed against it (with toolchain file $2, if any, and C compiler
# $3), and runs the host program: natively, or under Wine for a Windows build,
# where the tier may report itself skipped (exit 77).
set -eu
build=$(cd "$1" && pwd)
toolchain=$2
compiler=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$build/package-test

rm -rf "$work"
cmake --install "$build" --prefix "$work/install"
cmake -S "$here/../examples/embed" -B "$work/host" -DCMAKE_PREFIX_PATH="$work/install" \
  ${toolchain:+-DCMAKE_TOOLCHAIN_FILE="$toolchain"} -DCMAKE_C_COMPILER="$compiler" \
  -DCMAKE_C_FLAGS="-Wall -Wextra -Wpedantic -Werror"
cmake --build "$work/host"

if [ -f "$work/host/host.exe" ]; then
  exec "$here/wine-tier.sh" "$work/host/host.exe"
fi
exec "$work/host/host"
