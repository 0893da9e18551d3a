#!/usr/bin/env bash
# Benchmark of the history file under Wine: writes and reads a full
# 1000-record file with the longest fields and prints the median times; the
# read against its floor in the same process, one ReadFile of the whole file
# plus the parser.
#
#   tools/bench-history.sh [rounds]
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
flock /tmp/gyrolens-build.lock cmake --build "$build/win" --target history_bench >/dev/null
"$top/tools/wine-run.sh" "$build/win/bench/history_bench.exe" "$@"
