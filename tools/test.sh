#!/usr/bin/env bash
# Builds Gyrolens and runs every test:
#   1. the Windows build (mingw-w64), every test under Wine;
#   2. the Win32-free logic built natively with AddressSanitizer and
#      UndefinedBehaviorSanitizer;
#   3. short, bounded libFuzzer runs over every reader of outside data (long
#      runs: tools/fuzz.sh).
# Installs whatever is missing first (see tools/setup.sh).
set -euo pipefail

. "$(dirname "$0")/common.sh"
jobs=${GYROLENS_JOBS:-2}

configure_windows_build
cmake --build "$build/win" -j "$jobs"
ctest --test-dir "$build/win" --output-on-failure -j "$jobs"

cmake -S "$top" -B "$build/native" -G Ninja -DGYROLENS_NATIVE=ON \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$build/native" -j "$jobs"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

cmake -S "$top" -B "$build/fuzz" -G Ninja -DGYROLENS_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
ctest --test-dir "$build/fuzz" --output-on-failure

echo "tools/test.sh: all tests passed"
