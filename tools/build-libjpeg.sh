#!/usr/bin/env bash
# Fetches Debian's libjpeg-turbo source package and cross-builds it once as a
# static Windows x86-64 library with its SIMD code and the libjpeg 6b
# interface (JPEG_LIB_VERSION 62).  The result lands in <build>/libjpeg-turbo;
# nothing third-party is kept in the repository.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
prefix=$build/libjpeg-turbo
stamp=$prefix/.built
[ -f "$stamp" ] && exit 0

. "$top/tools/debian-source.sh"
work=$build/libjpeg-src
srcdir=$(fetch_debian_source libjpeg-turbo "$work")

echo "setup: cross-building libjpeg-turbo from $(basename "$srcdir")"
cmake -S "$srcdir" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_ASM_NASM_COMPILER=nasm \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-static -Wno-dev >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" >/dev/null

grep -q 'define JPEG_LIB_VERSION *62' "$prefix/include/jconfig.h" \
    || { echo "setup: libjpeg-turbo was not built with the 6b interface" >&2; exit 1; }
touch "$stamp"
