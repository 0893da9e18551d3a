#!/usr/bin/env bash
# Fetches Debian's zlib and libpng source packages and cross-builds them
# once as static Windows x86-64 libraries for the PNG writer and the
# preview: <build>/zlib and <build>/libpng, each with include/ and lib/.
# libpng keeps its SSE2 row filters.  Nothing third-party is kept in the
# repository.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$top/build}")
[ -f "$build/zlib/.built" ] && [ -f "$build/libpng/.built" ] && exit 0

. "$top/tools/debian-source.sh"
cc=(x86_64-w64-mingw32-gcc-posix -O2 -DNDEBUG)
ar=x86_64-w64-mingw32-ar

# Compiles the named C files (relative to srcdir, without ".c") into
# <prefix>/lib/<library>, with the flags that follow "--".
static_library() {
    local prefix=$1 library=$2 srcdir=$3 objdir=$4 flags=() f
    shift 4
    while [ "$1" != -- ]; do flags+=("$1"); shift; done
    shift
    rm -rf "$objdir"
    mkdir -p "$objdir" "$prefix/lib" "$prefix/include"
    for f in "$@"; do
        "${cc[@]}" "${flags[@]}" -c "$srcdir/$f.c" -o "$objdir/$(basename "$f").o"
    done
    rm -f "$prefix/lib/$library"
    "$ar" rcs "$prefix/lib/$library" "$objdir"/*.o
}

if [ ! -f "$build/zlib/.built" ]; then
    work=$build/zlib-src
    srcdir=$(fetch_debian_source zlib "$work")
    echo "setup: cross-building zlib from $(basename "$srcdir")"
    static_library "$build/zlib" libz.a "$srcdir" "$work/obj" -I"$srcdir" -- \
        adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
        uncompr zutil
    cp "$srcdir/zlib.h" "$srcdir/zconf.h" "$build/zlib/include/"
    touch "$build/zlib/.built"
fi

if [ ! -f "$build/libpng/.built" ]; then
    work=$build/libpng-src
    srcdir=$(fetch_debian_source libpng1.6 "$work")
    echo "setup: cross-building libpng from $(basename "$srcdir")"
    # The library's own default configuration.
    cp "$srcdir/scripts/pnglibconf.h.prebuilt" "$srcdir/pnglibconf.h"
    static_library "$build/libpng" libpng.a "$srcdir" "$work/obj" \
        -DPNG_INTEL_SSE_OPT=1 -I"$srcdir" -I"$build/zlib/include" -- \
        png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio pngwrite \
        pngwtran pngwutil intel/intel_init intel/filter_sse2_intrinsics
    cp "$srcdir/png.h" "$srcdir/pngconf.h" "$srcdir/pnglibconf.h" "$build/libpng/include/"
    touch "$build/libpng/.built"
fi
