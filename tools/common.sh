# Shared by the build, test and benchmark scripts: where the build lives and
# how the Windows build is configured.  Source it; it sets `top` and `build`.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
export GYROLENS_BUILD=$build

# Installs what is missing, then configures the Windows build in $build/win.
configure_windows_build() {
    "$top/tools/setup.sh"
    cmake -S "$top" -B "$build/win" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$build/libjpeg-turbo;$build/libpng;$build/zlib" >/dev/null
}
