#!/usr/bin/env bash
# Benchmark of a capture on a 1920 x 1080 x 24 screen under Wine: JPEG and
# BMP captures against libjpeg-turbo's cjpeg on the same pixels.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
export GYROLENS_BUILD=$build
"$top/tools/setup.sh"
cmake -S "$top" -B "$build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$build/libjpeg-turbo" >/dev/null
cmake --build "$build/win" --target capture_bench
cjpeg="Z:$(echo "$build/libjpeg-turbo/bin/cjpeg.exe" | tr / '\\')"
GYROLENS_SCREEN=1920x1080x24 "$top/tools/wine-run.sh" "$build/win/tests/capture/capture_bench.exe" "$cjpeg" "$@"
