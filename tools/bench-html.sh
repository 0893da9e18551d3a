#!/usr/bin/env bash
# Benchmark of the HTML export (not a test): a 1000-record history (1000
# JPEG-named files of 200 KB and 1000 text files of 4 KB) exported as 20
# records per page, 4 per row, into an empty folder under Wine, against
# copying the same files with cp in the same run.  Prints the median of each
# and their ratio; the export aims at no more than 1.5 times the copy.  An
# export that leaves the images where they are shows what the pages and the
# included texts cost without the 1000 image copies.
#
#   tools/bench-html.sh [rounds]        (default 5)
set -euo pipefail
. "$(dirname "$0")/common.sh"
rounds=${1:-5}

configure_windows_build
cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target html_bench
bench=$build/win/tests/htmlexport/html_bench.exe

data=$build/bench-html
rm -rf "$data"
mkdir -p "$data/src"
# Random bytes under .jpg names are enough: the export only copies them.
head -c $((1000 * 204800)) /dev/urandom |
    split -b 204800 -d -a 4 --additional-suffix=.jpg - "$data/src/img"
head -c $((1000 * 3072)) /dev/urandom | base64 -w 76 | tr '+/' '&<' |
    split -b 4096 -d -a 4 --additional-suffix=.txt - "$data/src/text"
sync

winpath() { printf 'Z:%s' "${1//\//\\}"; }
now() { date +%s%N; }
ms() { echo $((($2 - $1) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Start Wine's server once, so that the first round does not pay for it.
"$top/tools/wine-run.sh" "$bench" >/dev/null 2>&1 || true

# Every round writes into new folders, and nothing is deleted until the end:
# ext4 is slow to hand out new inodes right after many were deleted, which
# would otherwise weigh on whichever side runs after a deletion.
cp_times=() export_times=() process_times=() pages_times=()
for round in $(seq "$rounds"); do
    mkdir "$data/cp$round" "$data/export$round" "$data/pages$round"
    sync
    t0=$(now)
    cp "$data"/src/*.jpg "$data"/src/*.txt "$data/cp$round/"
    t1=$(now)
    sync
    t2=$(now)
    line=$("$top/tools/wine-run.sh" "$bench" "$(winpath "$data/src")" "$(winpath "$data/export$round")")
    t3=$(now)
    sync
    pages_line=$("$top/tools/wine-run.sh" "$bench" "$(winpath "$data/src")" "$(winpath "$data/pages$round")" nocopy)
    pages=$(find "$data/export$round" -name 'page*.htm' | wc -l)
    images=$(find "$data/export$round" -name '*.jpg' | wc -l)
    [ "$pages" = 50 ] && [ "$images" = 1000 ] ||
        { echo "bench-html: export wrote $pages pages and $images images" >&2; exit 1; }
    cp_times+=("$(ms "$t0" "$t1")")
    export_times+=("${line#export_ms=}")
    process_times+=("$(ms "$t2" "$t3")")
    pages_times+=("${pages_line#export_ms=}")
    echo "round $round: cp $(ms "$t0" "$t1") ms, export ${line#export_ms=} ms" \
        "(whole Wine process $(ms "$t2" "$t3") ms; without image copies ${pages_line#export_ms=} ms)"
done

cp_ms=$(printf '%s\n' "${cp_times[@]}" | median)
export_ms=$(printf '%s\n' "${export_times[@]}" | median)
process_ms=$(printf '%s\n' "${process_times[@]}" | median)
pages_ms=$(printf '%s\n' "${pages_times[@]}" | median)
echo "median of $rounds rounds: cp $cp_ms ms; export $export_ms ms; whole Wine process $process_ms ms;" \
    "export without image copies $pages_ms ms"
awk -v e="$export_ms" -v p="$process_ms" -v n="$pages_ms" -v c="$cp_ms" 'BEGIN {
    printf "ratio export / cp: %.2f (target <= 1.5); whole process / cp: %.2f; without image copies / cp: %.2f\n",
        e / c, p / c, n / c }'
rm -rf "$data"
