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

work=$build/libjpeg-src
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"

# A private deb-src list: the machine's own Debian sources, turned into source
# entries.  Only entries of this release's suites are kept, so third-party
# repositories without source packages do not break the update.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
: > "$apt_dir/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v c="$codename" '$1 == "deb" {
        suite = ""; n = 0
        for (i = 2; i <= NF; i++) {
            if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; continue }
            n++; if (n == 2) { suite = $i; break }
        }
        if (suite == c || index(suite, c "-") == 1) { sub(/^deb[ \t]/, "deb-src "); print }
    }' "$f" >> "$apt_dir/sources.list"
done
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v c="$codename" '
        function flush() {
            if (keep && stanza != "") printf "%s\n", stanza
            stanza = ""; keep = 0
        }
        /^[ \t]*$/ { flush(); next }
        /^Types:/ { if ($0 ~ /[ \t]deb([ \t]|$)/) { stanza = stanza "Types: deb-src\n" } ; next }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == c || index($i, c "-") == 1) keep = 1 }
        { stanza = stanza $0 "\n" }
        END { flush() }
    ' "$f" > "$apt_dir/sources.list.d/$(basename "$f")"
done

apt_opts=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::State::status=/var/lib/dpkg/status"
    -o "APT::Sandbox::User=$(id -un)"
    -o "Debug::NoLocking=1"
)
echo "setup: fetching the libjpeg-turbo source package"
apt-get "${apt_opts[@]}" -qq update
rm -rf "$work/src"
mkdir -p "$work/src"
(cd "$work/src" && apt-get "${apt_opts[@]}" -qq source libjpeg-turbo >/dev/null)
srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo*' | head -1)
[ -n "$srcdir" ] || { echo "setup: libjpeg-turbo source not found" >&2; exit 1; }

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
