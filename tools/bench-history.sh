#!/usr/bin/env bash
# Benchmark of the history file: writes and reads a full 1000-record file
# with the longest fields under Wine and prints the median times.
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
cmake --build "$build/win" --target history_bench
"$top/tools/wine-run.sh" "$build/win/tests/history_bench.exe" "$@"
