#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian machine, if missing:
# compilers (and clang with libFuzzer, for the fuzz targets), CMake,
# GoogleTest, Google Benchmark, PCRE2 (a benchmark baseline), stb
# (weftrender's PNG writer, header-only, used by the cross compiler too), the
# mingw-w64 cross compiler, Wine (64-bit loader and wineserver, 32-bit
# loader) with fonts, and for weftpad's end-to-end test an X server without a
# screen (Xvfb), xdotool, xwd and Python. Where the kernel cannot execute
# 32-bit programs, it also sets up qemu-user to run Wine's 32-bit loader.
set -u

wine32_loader=/usr/lib/wine/wine

need=()
command -v g++ >/dev/null || need+=(g++)
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -d /usr/src/googletest/googletest ] || need+=(googletest)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
[ -f /usr/include/pcre2.h ] || need+=(libpcre2-dev)
command -v pkg-config >/dev/null || need+=(pkgconf)  # how the benchmarks find PCRE2
[ -f /usr/include/stb/stb_image_write.h ] || need+=(libstb-dev)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v wine >/dev/null || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
[ -x "$wine32_loader" ] || dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
[ -d /usr/share/fonts/truetype/liberation ] || need+=(fonts-liberation)
command -v clang++ >/dev/null || need+=(clang)
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xwd >/dev/null || need+=(x11-apps)
command -v python3 >/dev/null || need+=(python3)

require_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$1 (run as root to set it up)" >&2
    exit 1
  fi
}

install_packages() {
  echo "installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # One i386 index may fail to download; the others are still good.
  apt-get update -qq || true
  apt-get install -y -qq -t bookworm --no-install-recommends "$@" >/dev/null || {
    echo "could not install: $*" >&2
    exit 1
  }
}

runs_32bit() {
  timeout 20 "$wine32_loader" --version >/dev/null 2>&1
}

if [ ${#need[@]} -gt 0 ]; then
  require_root "missing packages: ${need[*]}"
  install_packages "${need[@]}"
fi

runs_32bit && exit 0

# The kernel refuses i386 programs ("Exec format error"): let qemu-user run
# them. The handler matches i386 executables and PIE programs; flag F opens
# the emulator now, so it also works inside other mount namespaces. The
# registration does not survive a reboot; running this script again restores
# it.
require_root "this kernel cannot run 32-bit programs; Wine's 32-bit loader needs qemu-user"
[ -x /usr/bin/qemu-i386-static ] || install_packages qemu-user-static
binfmt=/proc/sys/fs/binfmt_misc
[ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
if [ -e $binfmt/qemu-i386 ]; then
  echo 1 >$binfmt/qemu-i386
else
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' >$binfmt/register
fi
if ! runs_32bit; then
  echo "Wine's 32-bit loader still does not start under qemu-user" >&2
  exit 1
fi
echo "32-bit programs now run through qemu-user (binfmt_misc handler qemu-i386)"
