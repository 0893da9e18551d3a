#!/usr/bin/env bash
# Benchmarks of the program as a user starts and uses it, under Wine on a
# 1920 x 1080 screen: start-up against a minimal window program, and a
# hotkey capture (JPEG, BMP, PNG) up to its painted row, and on to the
# painted preview, against CaptureImage alone.
# Prints medians and ratios; not a test.
# Last, the recovery copy of a 1000-record history against the history save
# of the same list.
#
#   tools/bench-app.sh [rounds]        (default 9)
set -euo pipefail
. "$(dirname "$0")/common.sh"
configure_windows_build
cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target Gyrolens minimal_window app_bench >/dev/null
work=$build/bench-app
rm -rf "$work"
mkdir -p "$work"
# The same readable settings tools/run.sh gives a new data folder.
printf '%s\r\n' '[File_Set]' 'JPEGモード=1' 'JPEG品質=80' '全体フォントサイズ=14' '履歴フォントサイズ=14' \
    '[Window]' 'X位置=40' 'Y位置=30' '幅=900' '高さ=640' | iconv -f UTF-8 -t CP932 > "$work/Gyrolens.ini"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
cd "$work"
GYROLENS_SCREEN=1920x1080x24 "$top/tools/wine-run.sh" "$build/win/bench/app_bench.exe" \
    "$(winpath "$build/win/app/Gyrolens.exe")" "$(winpath "$build/win/bench/minimal_window.exe")" \
    "$(winpath "$work")" "$@"
rm -rf "$work"
