#!/usr/bin/env bash
# Benchmark of a whole-screen capture under Wine at 1280x720, 1920x1080 and
# 3840x2160 (24 bits) of a drawn desktop: JPEG, BMP and PNG captures against
# their floors timed in the same process (grab into a DIB section, then the
# same libjpeg settings, one header and one pixel write, or the same libpng
# settings and one write), with file sizes against the BMP.  The last files
# of each size are kept in build/bench-capture/<size>/.
#
#   tools/bench-capture.sh [rounds] [sizes...]   e.g. 21 1920x1080
#   tools/bench-capture.sh soak [captures] [size]   no growth in GDI objects,
#                                                   handles, private memory
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
flock /tmp/gyrolens-build.lock cmake --build "$build/win" --target capture_bench >/dev/null
exe=$build/win/bench/capture_bench.exe

if [ "${1:-}" = soak ]; then
    GYROLENS_SCREEN=${3:-1920x1080}x24 "$top/tools/wine-run.sh" "$exe" soak "${2:-1000}"
    exit
fi
rounds=${1:-15}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1280x720 1920x1080 3840x2160)
status=0
for size in "${sizes[@]}"; do
    keep=$build/bench-capture/$size
    mkdir -p "$keep"
    GYROLENS_SCREEN=${size}x24 "$top/tools/wine-run.sh" "$exe" "$rounds" "Z:$(echo "$keep" | tr / '\\')" || status=1
done
exit $status
