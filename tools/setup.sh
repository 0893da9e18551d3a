#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing
# Gyrolens, then cross-builds libjpeg-turbo (6b interface), zlib and libpng
# into the build folder.  Safe to run again: every step checks first and skips what is done.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
mkdir -p "$build"

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(
    cmake ninja-build pkg-config
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils xdotool locales nasm
    googletest libgtest-dev
    g++ clang libclang-rt-14-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
    dpkg-dev python3
    fonts-ipafont-gothic
    chromium
    fp-utils nsis
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine only reports code page 932 to programs when the Japanese UTF-8 locale exists.
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    echo "setup: generating ja_JP.UTF-8"
    if ! grep -qE '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
fi

"$top/tools/build-libjpeg.sh" "$build"
"$top/tools/build-png.sh" "$build"
