#!/bin/bash
# The visual round trip. Every drawing of the corpus is converted by pictavo,
# and its presentation document is read back by two readers: our own
# (apxl2svg turns the slide back into SVG, which rsvg-convert renders) and
# LibreOffice Impress (all documents in one batch to PDF, each slide
# rasterised by pdftoppm). Each reading is compared by pngdiff with
# rsvg-convert's rendering of the original at the same size on white. A
# drawing fails when the share of differing pixels through either reader
# exceeds its budget for that reader (budgets.txt; 1 % where none is listed).
#
#   roundtrip.sh --pictavo BIN --apxl2svg BIN --pngdiff BIN [--work DIR]
#                [--corpus DIR] [--budgets FILE] [--tolerance N]
#                [--report DIR [--worst N]]
#
# --report writes, for each reader, the worst N drawings (default 8) as PNG
# files, original, reading and difference side by side, and the whole table
# as summary.txt. Exit status: 0 all within budget, 1 a drawing over budget,
# a tool failed or is not installed.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/impress.sh"
corpus="$here/corpus"
budgets="$here/budgets.txt"
work=""
report=""
worst=8
tolerance=()  # pngdiff's own default unless given
pictavo="" apxl2svg="" pngdiff=""
readers=(own impress)

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
require_tools rsvg-convert:librsvg2-bin "${impress_tools[@]}" || exit 1
if [[ -z $work ]]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
rm -rf "$work" && mkdir -p "$work/impress"
work=$(cd "$work" && pwd)

# The budget of a drawing through a reader, by "reader path inside the corpus".
declare -A budget
while read -r path reader percent _; do
    [[ -z $path || $path == \#* ]] && continue
    budget["$reader $path"]=$percent
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

# compare NAME READER: the share in per cent of pixels in which the reader's
# picture NAME.READER.png differs from NAME.original.png.
compare() {
    local output
    if ! output=$("$pngdiff" "${tolerance[@]}" "$work/$1.original.png" "$work/$1.$2.png"); then
        echo "error pngdiff failed: $output"
        return
    fi
    echo "$output"
}

# Converts one drawing, renders the original at its pixel size (written to
# NAME.size), reads the document back through our own reader and packs it for
# Impress. Prints the own reader's share in per cent, or "error" followed by
# what went wrong.
convert_and_read_own() {
    local svg=$1 name=$2
    # The round-tripped drawing lies in the bundle, beside the image files it names.
    local bundle="$work/$name.bundle" roundtrip="$work/$name.bundle/roundtrip.svg"
    local output size width height
    if ! output=$(timeout 120 "$pictavo" "$svg" "$bundle" 2>&1); then
        echo "error pictavo failed: ${output//$'\n'/ }"
        return
    fi
    size=$(slide_size "$bundle/presentation.apxl")
    if [[ -z $size ]]; then
        echo "error the document has no whole-number slide size"
        return
    fi
    read -r width height < <(render_size $size)
    echo "$width $height" >"$work/$name.size"
    if ! output=$(timeout 60 rsvg-convert -w "$width" -h "$height" -b white \
        -o "$work/$name.original.png" "$svg" 2>&1); then
        echo "error rsvg-convert failed on the original: ${output//$'\n'/ }"
        return
    fi
    pack_document "$bundle" "$work/impress/$name.key"
    if ! output=$(timeout 60 "$apxl2svg" "$bundle/presentation.apxl" "$roundtrip" 2>&1); then
        echo "error apxl2svg failed: ${output//$'\n'/ }"
        return
    fi
    if ! output=$(timeout 60 rsvg-convert -w "$width" -h "$height" -b white \
        -o "$work/$name.own.png" "$roundtrip" 2>&1); then
        echo "error rsvg-convert failed on the round-tripped drawing: ${output//$'\n'/ }"
        return
    fi
    compare "$name" own
}

# Prints Impress's share for one drawing whose batch has run.
read_impress() {
    local name=$1 width height
    [[ -f $work/$name.size ]] || { echo "error not converted"; return; }
    if [[ ! -f $work/impress/$name.pdf ]]; then
        echo "error Impress could not open the document (log: $work/impress/soffice.log)"
        return
    fi
    read -r width height <"$work/$name.size"
    if ! rasterise "$work/impress/$name.pdf" "$width" "$height" "$work/$name.impress.png" >/dev/null 2>&1; then
        echo "error pdftoppm failed on $work/impress/$name.pdf"
        return
    fi
    compare "$name" impress
}

# drawing_name PATH: the file name stem of a drawing's pictures, unique over the corpus.
drawing_name() {
    local name=${1//\//_}
    echo "${name%.svg}"
}

# verdict READER PATH SHARE: prints the share and its budget, and records the
# share; fails when it is over budget or an error.
verdict() {
    local reader=$1 path=$2 share=$3
    local limit=${budget["$reader $path"]:-1}
    if [[ $share == error* ]]; then
        printf '  %s: %s' "$reader" "${share#error }"
        return 1
    fi
    printf '  %-7s %7.3f %% of %4s' "$reader" "$share" "$limit"
    printf '%s %s %s\n' "$share" "$path" "$(drawing_name "$path")" >>"$work/results.$reader.txt"
    awk -v s="$share" -v b="$limit" 'BEGIN { exit !(s <= b) }'
}

mapfile -t drawings < <(find "$corpus" -name '*.svg' | LC_ALL=C sort)
declare -A own_share
keys=()
for svg in "${drawings[@]}"; do
    path=${svg#"$corpus"/}
    name=$(drawing_name "$path")
    own_share[$path]=$(convert_and_read_own "$svg" "$name")
    [[ -f $work/impress/$name.key ]] && keys+=("$work/impress/$name.key")
done
((${#keys[@]} > 0)) && { impress_to_pdf "$work/impress" "${keys[@]}" || exit 1; }

passed=0 failed=0
for svg in "${drawings[@]}"; do
    path=${svg#"$corpus"/}
    name=$(drawing_name "$path")
    line=$(printf '%-42s' "$path")
    ok=true
    line+=$(verdict own "$path" "${own_share[$path]}") || ok=false
    line+=$(verdict impress "$path" "$(read_impress "$name")") || ok=false
    if $ok; then
        passed=$((passed + 1))
        echo "$line  ok"
    else
        failed=$((failed + 1))
        echo "$line  FAIL"
    fi
done

for key in "${!budget[@]}"; do
    [[ -f $corpus/${key#* } ]] || echo "note: budgets.txt names ${key#* }, which is not in the corpus"
done

for reader in "${readers[@]}"; do
    results="$work/results.$reader.txt"
    [[ -s $results ]] || continue
    sort -g "$results" | awk -v reader="$reader" '
        { share[NR] = $1; sum += $1; if ($1 < 1) under1++; if ($1 < 5) under5++ }
        END {
            median = NR % 2 ? share[(NR + 1) / 2] : (share[NR / 2] + share[NR / 2 + 1]) / 2
            printf "\n%s: %d drawings read back: median %.3f %%, mean %.3f %%, ", reader, NR, median, sum / NR
            printf "%d (%.0f %%) under 1 %%, %d (%.0f %%) under 5 %%\n", under1, 100 * under1 / NR, under5, 100 * under5 / NR
        }'
    echo "worst five:"
    sort -gr "$results" | head -5 | awk '{ printf "  %8.3f %%  %s\n", $1, $2 }'
done

if [[ -n $report ]]; then
    mkdir -p "$report"
    rm -f "$report"/*.png
    LC_ALL=C join -j 2 -a 1 -a 2 -e - -o 0,1.1,2.1 <(LC_ALL=C sort -k 2 "$work/results.own.txt") \
        <(LC_ALL=C sort -k 2 "$work/results.impress.txt") |
        awk 'BEGIN { print "# path own% impress%" } { print }' >"$report/summary.txt"
    for reader in "${readers[@]}"; do
        rank=0
        while read -r share path name; do
            rank=$((rank + 1))
            "$pngdiff" "${tolerance[@]}" --side-by-side "$(printf '%s/%s-%02d-%s.png' "$report" "$reader" "$rank" "$name")" \
                "$work/$name.original.png" "$work/$name.$reader.png" >/dev/null
        done < <(sort -gr "$work/results.$reader.txt" | head -n "$worst")
    done
    echo "report: $report (original | read back | differences in red; READER-RANK-NAME.png)"
fi

echo "visual: $passed passed, $failed failed"
((failed == 0))
