#!/usr/bin/env bash
# Builds the fuzzing target (preset "fuzz": clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and fuzzes the conversion for SECONDS.
# The corpus grows in build/fuzz/corpus; findings land in build/fuzz/findings.
# Exits non-zero when the fuzzer found something.
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

seeds="$build/seeds"
corpus="$build/corpus"
findings="$build/findings/"
log="$build/fuzz.log"
rm -rf "$seeds"
"$root/fuzz/make-corpus.sh" "$seeds"
mkdir -p "$corpus" "$findings"

# Drawings are small; 16 kB leaves room for deep nesting and long tokens.
# Standard output and error are closed: libxml2 reports every broken input
# there. libFuzzer and the sanitizers keep a stream of their own.
status=0
"$build/fuzz/pictavo_fuzz" "$corpus" "$seeds" \
    -dict="$root/fuzz/svg.dict" \
    -max_total_time="$seconds" \
    -max_len=16384 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -close_fd_mask=3 \
    -print_final_stats=1 \
    -artifact_prefix="$findings" \
    >"$log" 2>&1 || status=$?

edges=$(sed -n 's/.*Loaded [0-9]* modules *(\([0-9]*\) inline 8-bit counters.*/\1/p' "$log" | head -n1)
last=$(grep -E '^#[0-9]+' "$log" | tail -n1)
covered=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
units=$(find "$corpus" -type f | wc -l)

echo "fuzzing: ${seconds} s, ${runs:-?} executions (${speed:-?}/s)"
if [[ -n "$edges" && -n "$covered" ]]; then
    echo "coverage: $covered of $edges instrumented edges" \
        "($(awk -v c="$covered" -v e="$edges" 'BEGIN { printf "%.1f", 100 * c / e }')%), $features features"
fi
echo "corpus: $units inputs in $corpus"
if ((status != 0)); then
    echo "FINDING (fuzzer exit status $status), log: $log"
    grep -E 'ERROR|SUMMARY|pictavo fuzz finding|Test unit written|artifact' "$log" | head -n 20 || true
    exit "$status"
fi
echo "no finding"
