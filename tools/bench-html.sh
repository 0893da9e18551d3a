#!/usr/bin/env bash
# Benchmark of the HTML export (not a test): a 1000-record history (1000
# JPEG-named files of 200 KB and 1000 text files of 4 KB) exported as 20
# records per page, 4 per row, into an empty folder under Wine.
#
# Two yardsticks, in the same run:
#   floor  in the same Wine process, the same 1000 CopyFileA calls plus the
#          same page bytes written with one CreateFileA and WriteFile per
#          page: what any exporter must pay under this Wine.  The export
#          aims at no more than 1.2 times the floor.  Each round runs both
#          twice (E F F E, or F E E F in the next round); wall-clock and
#          processor times of the bench process are both shown, the latter
#          being what other programs on a busy machine do not disturb.
#   cp     copying the same files with cp outside Wine; the export aims at
#          no more than 1.5 times that.
# Before each timed side the disk is synced, so that neither pays for the
# other's writes.  The export without image copies (pages and included
# texts alone) is shown as well.
#
#   tools/bench-html.sh [rounds]        (default 5)
set -euo pipefail
. "$(dirname "$0")/common.sh"
rounds=${1:-5}

configure_windows_build
flock /tmp/gyrolens-build.lock cmake --build "$build/win" -j "${GYROLENS_JOBS:-2}" --target html_bench
bench=$build/win/bench/html_bench.exe

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
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
count() { find "$1" -name "$2" | wc -l; }

# Start Wine's server once, so that the first round does not pay for it.
"$top/tools/wine-run.sh" "$bench" >/dev/null 2>&1 || true

# Every round writes into new folders, and nothing is deleted until the end:
# ext4 is slow to hand out new inodes right after many were deleted, which
# would otherwise weigh on whichever side runs after a deletion.
cp_times=() export_times=() floor_times=() pages_times=() round_ratios=() cpu_ratios=()
for round in $(seq "$rounds"); do
    mkdir "$data/cp$round" "$data/run$round"
    sync
    t0=$(now)
    cp "$data"/src/*.jpg "$data"/src/*.txt "$data/cp$round/"
    t1=$(now)
    sync
    order=export-first
    [ $((round % 2)) = 0 ] && order=floor-first
    line=$("$top/tools/wine-run.sh" "$bench" "$(winpath "$data/src")" "$(winpath "$data/run$round")" floor $order)
    sides=("$data/run$round"/export? "$data/run$round"/floor?)
    for side in "${sides[@]}"; do
        pages=$(count "$side" 'page*.htm')
        images=$(count "$side" '*.jpg')
        [ "$pages" = 50 ] && [ "$images" = 1000 ] ||
            { echo "bench-html: ${side##*/} wrote $pages pages and $images images" >&2; exit 1; }
    done
    [ ${#sides[@]} = 4 ] && cmp -s "${sides[0]}/page7.htm" "${sides[3]}/page7.htm" ||
        { echo "bench-html: the floor wrote other pages than the export" >&2; exit 1; }
    cp_times+=("$(ms "$t0" "$t1")")
    export_times+=("$(field export_ms "$line")")
    floor_times+=("$(field floor_ms "$line")")
    pages_times+=("$(field pages_ms "$line")")
    round_ratios+=("$(awk -v e="${export_times[-1]}" -v f="${floor_times[-1]}" 'BEGIN { printf "%.3f", e / f }')")
    cpu_ratios+=("$(awk -v e="$(field export_cpu_ms "$line")" -v f="$(field floor_cpu_ms "$line")" \
        'BEGIN { printf "%.3f", e / f }')")
    echo "round $round ($order): cp $(ms "$t0" "$t1") ms, export ${export_times[-1]} ms," \
        "floor ${floor_times[-1]} ms, processor time export / floor ${cpu_ratios[-1]}" \
        "(export without image copies ${pages_times[-1]} ms)"
done

cp_ms=$(printf '%s\n' "${cp_times[@]}" | median)
export_ms=$(printf '%s\n' "${export_times[@]}" | median)
floor_ms=$(printf '%s\n' "${floor_times[@]}" | median)
pages_ms=$(printf '%s\n' "${pages_times[@]}" | median)
ratio_ms=$(printf '%s\n' "${round_ratios[@]}" | median)
cpu_ratio=$(printf '%s\n' "${cpu_ratios[@]}" | median)
echo "median of $rounds rounds: export $export_ms ms; floor $floor_ms ms; cp $cp_ms ms;" \
    "export without image copies $pages_ms ms"
awk -v e="$export_ms" -v f="$floor_ms" -v c="$cp_ms" -v n="$pages_ms" -v r="$ratio_ms" -v p="$cpu_ratio" 'BEGIN {
    printf "ratio export / floor: %.2f, median of the rounds %.2f, processor time %.2f (target <= 1.2);", e / f, r, p
    printf " export / cp: %.2f (target <= 1.5);", e / c
    printf " floor / cp: %.2f; without image copies / cp: %.2f\n", f / c, n / c }'
rm -rf "$data"
