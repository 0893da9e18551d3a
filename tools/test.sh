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

# The private X servers this run starts are stopped when it ends, however it
# ends; GYROLENS_KEEP_X=1 keeps them for quick reruns.
running_x() {
    for f in "$build"/xvfb-*.pid; do
        [ -e "$f" ] && kill -0 "$(cat "$f")" 2>/dev/null && cat "$f"
    done
    return 0
}
x_before=$(running_x)
stop_started_x() {
    for pid in $(running_x); do
        grep -qx "$pid" <<<"$x_before" || kill "$pid" 2>/dev/null || true
    done
}
if [ "${GYROLENS_KEEP_X:-0}" != 1 ]; then
    trap stop_started_x EXIT
fi

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
