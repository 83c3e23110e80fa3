#!/bin/bash
# Times pictavo (release build) against `xmllint --noout` (libxml2's parse
# alone, the floor for this program) on generated drawings of 1, 10 and 100 MB,
# best of 5 runs each, and prints throughput, the ratio to xmllint and peak
# memory beside xmllint's, then checks the goals: at most 2x xmllint's time on
# 10 and 100 MB, 100 MB within 12x the 10 MB time, and on 10 and 100 MB a peak
# memory no higher than xmllint's (it builds libxml2's tree; the program's own
# document model must be leaner).
#
#   bench/run.sh [--build DIR] [--work DIR] [--sizes "1 10 100"] [--runs 5]
#
# Needs cmake, g++, xmllint (libxml2-utils) and /usr/bin/time (time).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
work=""
sizes="1 10 100"
runs=5
while (($# > 0)); do
    case "$1" in
        --build) build=$2 ;;
        --work) work=$2 ;;
        --sizes) sizes=$2 ;;
        --runs) runs=$2 ;;
        *) echo "unknown option $1"; exit 2 ;;
    esac
    shift 2
done
if [[ -z $work ]]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPICTAVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target pictavo bench_generate >/dev/null

# Best wall time in seconds of `runs` runs, and the peak resident size in KiB
# of the best one. Each run starts without the bundle: replacing an existing
# document by rename makes ext4 write the new one out at once, a cost of the
# file system that would otherwise swamp the small drawings.
best_of() {
    local best="" memory="" run start end elapsed
    for ((run = 0; run < runs; run++)); do
        rm -rf "$work/out.key"
        start=$EPOCHREALTIME
        /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null
        end=$EPOCHREALTIME
        elapsed=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')
        if [[ -z $best ]] || awk -v a="$elapsed" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$elapsed
            memory=$(<"$work/rss")
        fi
    done
    echo "$best $memory"
}

echo "pictavo $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?'), $(xmllint --version 2>&1 | head -1), best of $runs"
printf '%8s %10s %9s %10s %9s %7s %10s %8s %12s %8s\n' size pictavo MB/s xmllint MB/s ratio "peak MB" "x input" "xmllint MB" "out MB"
declare -A seconds
goals=ok
for size in $sizes; do
    drawing="$work/drawing-${size}mb.svg"
    [[ -f $drawing ]] || "$build/bench/bench_generate" $((size * 1000000)) "$drawing"
    bytes=$(stat -c %s "$drawing")
    read -r ours ourMemory < <(best_of "$build/pictavo" "$drawing" "$work/out.key")
    written=$(stat -c %s "$work/out.key/presentation.apxl")
    read -r theirs theirMemory < <(best_of xmllint --noout "$drawing")
    seconds[$size]=$ours
    awk -v size="$size" -v bytes="$bytes" -v ours="$ours" -v theirs="$theirs" -v kib="$ourMemory" \
        -v written="$written" -v theirKib="$theirMemory" 'BEGIN {
        mb = bytes / 1e6
        printf "%6s MB %9.3fs %9.1f %9.3fs %9.1f %7.2f %10.1f %8.1f %12.1f %8.1f\n", size, ours, mb / ours, theirs,
            mb / theirs, ours / theirs, kib * 1024 / 1e6, kib * 1024 / bytes, theirKib * 1024 / 1e6, written / 1e6
    }'
    if ((size >= 10)) && ! awk -v a="$ours" -v b="$theirs" 'BEGIN { exit !(a <= 2 * b) }'; then
        echo "goal missed: ${size} MB takes more than 2x xmllint's time"
        goals=missed
    fi
    if ((size >= 10)) && ((ourMemory > theirMemory)); then
        echo "goal missed: ${size} MB peaks above xmllint's peak"
        goals=missed
    fi
done
if [[ -n ${seconds[10]:-} && -n ${seconds[100]:-} ]]; then
    awk -v a="${seconds[100]}" -v b="${seconds[10]}" 'BEGIN { printf "100 MB / 10 MB time: %.2f (goal at most 12)\n", a / b }'
    awk -v a="${seconds[100]}" -v b="${seconds[10]}" 'BEGIN { exit !(a <= 12 * b) }' || goals=missed
fi
echo "goals: $goals"
