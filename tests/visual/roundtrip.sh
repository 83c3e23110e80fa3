#!/bin/bash
# The visual round trip. Every drawing of the corpus is converted by pictavo,
# its presentation document is turned back into SVG by apxl2svg, rsvg-convert
# renders the original and the round-tripped drawing at the same size on white,
# and pngdiff counts the share of pixels that differ. A drawing fails when that
# share exceeds its budget (budgets.txt; 1 % for drawings not listed there).
#
#   roundtrip.sh --pictavo BIN --apxl2svg BIN --pngdiff BIN [--work DIR]
#                [--corpus DIR] [--budgets FILE] [--tolerance N]
#                [--report DIR [--worst N]]
#
# --report writes the worst N drawings (default 8) as PNG files, original,
# converted and difference side by side, and the whole table as summary.txt.
# Exit status: 0 all within budget, 1 a drawing over budget or a tool failed,
# 77 rsvg-convert is not installed (the test is skipped).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/corpus"
budgets="$here/budgets.txt"
work=""
report=""
worst=8
tolerance=()  # pngdiff's own default unless given
pictavo="" apxl2svg="" pngdiff=""

while (($# > 0)); do
    case "$1" in
        --pictavo) pictavo=$2 ;;
        --apxl2svg) apxl2svg=$2 ;;
        --pngdiff) pngdiff=$2 ;;
        --work) work=$2 ;;
        --corpus) corpus=$2 ;;
        --budgets) budgets=$2 ;;
        --tolerance) tolerance=(--tolerance "$2") ;;
        --report) report=$2 ;;
        --worst) worst=$2 ;;
        *) echo "unknown option $1"; exit 2 ;;
    esac
    shift 2
done
if [[ -z $pictavo || -z $apxl2svg || -z $pngdiff ]]; then
    echo "usage: $0 --pictavo BIN --apxl2svg BIN --pngdiff BIN [--work DIR] [--report DIR]"
    exit 2
fi
if ! command -v rsvg-convert >/dev/null; then
    echo "rsvg-convert not found (Debian package librsvg2-bin): visual round trip skipped"
    exit 77
fi
if [[ -z $work ]]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
rm -rf "$work" && mkdir -p "$work"

# The budget of a drawing, by its path inside the corpus.
declare -A budget
while read -r path percent _; do
    [[ -z $path || $path == \#* ]] && continue
    budget[$path]=$percent
done <"$budgets"

# Icons are drawn on slides of 16 or 24 units; rendering them at that size
# would leave nothing but anti-aliased edges to compare, so small slides are
# magnified by a whole factor to at least 256 pixels on their longer side.
render_size() {
    local width=$1 height=$2
    local longer=$((width > height ? width : height))
    local zoom=$(((256 + longer - 1) / longer))
    ((zoom < 1)) && zoom=1
    echo $((width * zoom)) $((height * zoom))
}

# Converts, renders and compares one drawing; prints its share in per cent,
# or "error" followed by what went wrong.
measure() {
    local svg=$1 name=$2
    local bundle="$work/$name.key" roundtrip="$work/$name.roundtrip.svg"
    local output
    if ! output=$(timeout 120 "$pictavo" "$svg" "$bundle" 2>&1); then
        echo "error pictavo failed: ${output//$'\n'/ }"
        return
    fi
    if ! output=$(timeout 60 "$apxl2svg" "$bundle/presentation.apxl" "$roundtrip" 2>&1); then
        echo "error apxl2svg failed: ${output//$'\n'/ }"
        return
    fi
    local size
    size=$(sed -n '1s/^<svg [^>]*width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/p' "$roundtrip")
    if [[ -z $size ]]; then
        echo "error the round-tripped drawing has no whole-number slide size"
        return
    fi
    local pixels
    pixels=$(render_size $size)
    read -r width height <<<"$pixels"
    for picture in original:"$svg" converted:"$roundtrip"; do
        if ! output=$(timeout 60 rsvg-convert -w "$width" -h "$height" -b white \
            -o "$work/$name.${picture%%:*}.png" "${picture#*:}" 2>&1); then
            echo "error rsvg-convert failed on the ${picture%%:*} drawing: ${output//$'\n'/ }"
            return
        fi
    done
    if ! output=$("$pngdiff" "${tolerance[@]}" "$work/$name.original.png" "$work/$name.converted.png"); then
        echo "error pngdiff failed: $output"
        return
    fi
    echo "$output"
}

results="$work/results.txt"
: >"$results"
passed=0 failed=0
while read -r svg; do
    path=${svg#"$corpus"/}
    name=${path//\//_}
    name=${name%.svg}
    limit=${budget[$path]:-1}
    share=$(measure "$svg" "$name")
    if [[ $share == error* ]]; then
        printf '%-50s FAIL %s\n' "$path" "${share#error }"
        failed=$((failed + 1))
        continue
    fi
    if awk -v s="$share" -v b="$limit" 'BEGIN { exit !(s <= b) }'; then
        verdict=ok
        passed=$((passed + 1))
    else
        verdict=FAIL
        failed=$((failed + 1))
    fi
    printf '%-50s %8.3f %%  budget %6s %%  %s\n' "$path" "$share" "$limit" "$verdict"
    printf '%s %s %s\n' "$share" "$path" "$name" >>"$results"
done < <(find "$corpus" -name '*.svg' | LC_ALL=C sort)

for path in "${!budget[@]}"; do
    [[ -f $corpus/$path ]] || echo "note: budgets.txt names $path, which is not in the corpus"
done

if [[ -s $results ]]; then
    sort -g "$results" | awk '
        { share[NR] = $1; sum += $1; if ($1 < 1) under++ }
        END {
            median = NR % 2 ? share[(NR + 1) / 2] : (share[NR / 2] + share[NR / 2 + 1]) / 2
            printf "\n%d drawings compared: median %.3f %%, mean %.3f %%, %d (%.0f %%) under 1 %%\n",
                NR, median, sum / NR, under, 100 * under / NR
        }'
    echo "worst five:"
    sort -gr "$results" | head -5 | awk '{ printf "  %8.3f %%  %s\n", $1, $2 }'
fi

if [[ -n $report ]]; then
    mkdir -p "$report"
    sort -gr "$results" >"$report/summary.txt"
    rank=0
    while read -r share path name; do
        rank=$((rank + 1))
        "$pngdiff" "${tolerance[@]}" --side-by-side "$(printf '%s/%02d-%s.png' "$report" "$rank" "$name")" \
            "$work/$name.original.png" "$work/$name.converted.png" >/dev/null
    done < <(head -n "$worst" "$report/summary.txt")
    echo "report: $report (original | converted | differences in red)"
fi

echo "visual: $passed passed, $failed failed"
((failed == 0))
