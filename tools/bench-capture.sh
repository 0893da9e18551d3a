#!/usr/bin/env bash
# Benchmark of a capture on a 1920 x 1080 x 24 screen under Wine: JPEG and
# BMP captures against libjpeg-turbo's cjpeg on the same pixels.
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
cmake --build "$build/win" --target capture_bench
cjpeg="Z:$(echo "$build/libjpeg-turbo/bin/cjpeg.exe" | tr / '\\')"
GYROLENS_SCREEN=1920x1080x24 "$top/tools/wine-run.sh" "$build/win/tests/capture/capture_bench.exe" "$cjpeg" "$@"
