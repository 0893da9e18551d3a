#!/usr/bin/env bash
# Benchmarks of the history list view and the image preview under Wine:
# opening a history of 100 and 1000 records into the list view, and
# ReloadPreview of a 3840 x 2160 JPEG and PNG against libjpeg-turbo and
# libpng decoding the same file to memory in the same process.
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
flock /tmp/gyrolens-build.lock cmake --build "$build/win" --target history_view_bench preview_bench
"$top/tools/wine-run.sh" "$build/win/bench/history_view_bench.exe" "$@"
"$top/tools/wine-run.sh" "$build/win/bench/preview_bench.exe" "$@"
