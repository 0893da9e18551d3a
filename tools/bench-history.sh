#!/usr/bin/env bash
# Benchmark of the history file: writes and reads a full 1000-record file
# with the longest fields under Wine and prints the median times.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${GYROLENS_BUILD:-$top/build}
export GYROLENS_BUILD=$build
"$top/tools/setup.sh"
cmake -S "$top" -B "$build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$build/libjpeg-turbo" >/dev/null
cmake --build "$build/win" --target history_bench
"$top/tools/wine-run.sh" "$build/win/tests/history_bench.exe" "$@"
