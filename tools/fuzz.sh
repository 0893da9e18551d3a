#!/usr/bin/env bash
# Long fuzzing runs outside CI: builds the libFuzzer targets (clang, under the
# build lock) and runs each in turn, at the lowest priority, until it has run
# the given number of inputs or the given time, whichever comes first.  Each
# target keeps its corpus in build/fuzz/corpus/<target> (grown from the seeds
# in tests/fuzz/seeds) and writes what it finds to build/fuzz/findings/<target>.
#
#   tools/fuzz.sh [-t seconds] [-n executions] [target ...]
#       defaults: -t 3600 -n 10000000, every target
set -euo pipefail
. "$(dirname "$0")/common.sh"

seconds=3600
runs=10000000
while getopts "t:n:" opt; do
    case $opt in
    t) seconds=$OPTARG ;;
    n) runs=$OPTARG ;;
    *) echo "usage: $0 [-t seconds] [-n executions] [target ...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

fuzz=$build/fuzz
cmake -S "$top" -B "$fuzz" -G Ninja -DGYROLENS_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
flock /tmp/gyrolens-build.lock cmake --build "$fuzz" -j2 >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in "$fuzz"/tests/fuzz/fuzz_*; do
        targets+=("$(basename "$exe")")
    done
fi

# Undefined behaviour stops a run like a crash does.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=0
for target in "${targets[@]}"; do
    corpus=$fuzz/corpus/$target
    findings=$fuzz/findings/$target
    log=$fuzz/logs/$target.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    # The history reader needs inputs past its 2048-byte pending text.
    maxlen=4096
    [ "$target" = fuzz_history_lines ] && maxlen=16384
    status=0
    nice -n 19 "$fuzz/tests/fuzz/$target" -runs="$runs" -max_total_time="$seconds" -max_len=$maxlen \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$top/tests/fuzz/seeds" >"$log" 2>&1 || status=$?
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    found=$(find "$findings" -type f | wc -l)
    printf '%-22s %12s executions  %6s s  %d findings  exit %d\n' \
        "$target" "${executed:-?}" "${elapsed:-?}" "$found" "$status"
    [ "$status" -eq 0 ] && [ "$found" -eq 0 ] || failed=1
done
exit $failed
