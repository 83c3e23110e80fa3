#!/bin/bash
# Opens every golden document in LibreOffice Impress, all in one batch, and
# fails when Impress cannot open one, or draws an empty slide for a document
# whose slide holds shapes, lines or text boxes.
#
#   goldens.sh --golden DIR --pngdiff BIN --work DIR
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/impress.sh"

golden="" pngdiff="" work=""
while (($# > 0)); do
    case "$1" in
        --golden) golden=$2 ;;
        --pngdiff) pngdiff=$2 ;;
        --work) work=$2 ;;
        *) echo "unknown option $1"; exit 2 ;;
    esac
    shift 2
done
if [[ -z $golden || -z $pngdiff || -z $work ]]; then
    echo "usage: $0 --golden DIR --pngdiff BIN --work DIR"
    exit 2
fi
require_tools "${impress_tools[@]}" rsvg-convert:librsvg2-bin || exit 1
rm -rf "$work" && mkdir -p "$work/keys"

keys=()
for apxl in "$golden"/*.apxl; do
    name=$(basename "$apxl" .apxl)
    mkdir -p "$work/$name"
    cp "$apxl" "$work/$name/presentation.apxl"
    pack_document "$work/$name" "$work/keys/$name.key" || exit 1
    keys+=("$work/keys/$name.key")
done
impress_to_pdf "$work/pdf" "${keys[@]}" || exit 1

# The share of the slide, in per cent, that differs from a white slide.
painted_share() {
    local slide=$1 width=$2 height=$3
    local blank="$work/blank-${width}x$height.png"
    [[ -f $blank ]] || echo '<svg xmlns="http://www.w3.org/2000/svg" width="1" height="1"/>' |
        rsvg-convert -w "$width" -h "$height" -b white -o "$blank" || return 1
    "$pngdiff" "$blank" "$slide"
}

passed=0 failed=0
for apxl in "$golden"/*.apxl; do
    name=$(basename "$apxl" .apxl)
    drawables=$(sed -n '/<slide-list>/,$p' "$apxl" | grep -cE '<(shape|line|textbox) ')
    read -r width height < <(slide_size "$apxl")
    verdict="" share=""
    if [[ ! -f $work/pdf/$name.pdf ]]; then
        verdict="Impress could not open it (log: $work/pdf/soffice.log)"
    elif ! rasterise "$work/pdf/$name.pdf" "$width" "$height" "$work/$name.png" ||
        ! share=$(painted_share "$work/$name.png" "$width" "$height"); then
        verdict="the slide could not be rasterised or measured: $share"
    elif ((drawables > 0)) && awk -v s="$share" 'BEGIN { exit !(s == 0) }'; then
        verdict="the slide is empty, but $drawables drawables were written"
    fi
    if [[ -z $verdict ]]; then
        printf '%-24s ok   %2d drawables, %7.3f %% of the slide painted\n' "$name" "$drawables" "$share"
        passed=$((passed + 1))
    else
        printf '%-24s FAIL %s\n' "$name" "$verdict"
        failed=$((failed + 1))
    fi
done
echo "goldens in Impress: $passed passed, $failed failed"
((failed == 0))
