#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian machine, if missing:
# compilers, CMake, GoogleTest, Google Benchmark, PCRE2 (a benchmark
# baseline), the mingw-w64 cross compiler and 32-bit Wine with fonts.
set -u

need=()
command -v g++ >/dev/null || need+=(g++)
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -d /usr/src/googletest/googletest ] || need+=(googletest)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
[ -f /usr/include/pcre2.h ] || need+=(libpcre2-dev)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v wine >/dev/null || need+=(wine)
[ -x /usr/lib/wine/wine ] || dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
[ -d /usr/share/fonts/truetype/liberation ] || need+=(fonts-liberation)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi

echo "installing: ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
# One i386 index may fail to download; the others are still good.
apt-get update -qq || true
apt-get install -y -qq -t bookworm --no-install-recommends "${need[@]}" >/dev/null
