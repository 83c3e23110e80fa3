# LibreOffice Impress as a second reader of the written documents, sourced by
# roundtrip.sh and goldens.sh. Impress opens a document packed alone into a
# zip file named *.key; one soffice run converts a whole batch to PDF, and
# pdftoppm rasterises each slide.

# require_tools TOOL:PACKAGE...: fails, naming the Debian packages to install,
# when a tool is missing. A missing reader fails the test rather than skipping
# it: the set-up commands install every one of them.
require_tools() {
    local pair missing=()
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null || missing+=("${pair%%:*} (Debian package ${pair#*:})")
    done
    ((${#missing[@]} == 0)) && return 0
    printf 'not installed: %s\n' "${missing[@]}"
    return 1
}

impress_tools=(soffice:libreoffice-impress pdftoppm:poppler-utils zip:zip)

# pack_document BUNDLE KEY: the bundle's presentation.apxl and its image
# files zipped into the file KEY (an absolute path): Impress reads the images
# of a zipped document from inside it.
pack_document() {
    rm -f "$2"
    (cd "$1" && shopt -s nullglob && zip -q -X "$2" presentation.apxl image-*)
}

# Long enough for a few hundred documents; a reader that hangs must not hold
# the test suite.
impress_timeout=600

# impress_to_pdf OUTDIR KEY...: converts every document in one run, each to
# OUTDIR/NAME.pdf. Impress reports a document it cannot open and goes on, so
# such a document is known by its missing PDF. The run gets a profile of its
# own: runs at the same time do not hand their work to each other, and no
# HOME is needed. Its messages go to OUTDIR/soffice.log.
impress_to_pdf() {
    local outdir=$1
    shift
    local profile status
    profile=$(mktemp -d)
    mkdir -p "$outdir"
    timeout --kill-after=10 "$impress_timeout" soffice -env:UserInstallation="file://$profile" --headless \
        --convert-to pdf --outdir "$outdir" "$@" >"$outdir/soffice.log" 2>&1
    status=$?
    rm -rf "$profile"
    if ((status == 124)); then
        echo "LibreOffice did not finish converting within $impress_timeout s (log: $outdir/soffice.log)"
    elif ((status != 0)); then
        echo "LibreOffice failed with status $status: $(tail -n 3 "$outdir/soffice.log" | tr '\n' ' ')"
    fi
    return $status
}

# slide_size APXL: the slide's width and height in points, whole numbers.
slide_size() {
    sed -n 's/.*<theme slide-size="\([0-9]*\) \([0-9]*\)".*/\1 \2/p' "$1"
}

# rasterise PDF WIDTH HEIGHT PNG: the first page at exactly WIDTH by HEIGHT
# pixels on white.
rasterise() {
    timeout 60 pdftoppm -png -singlefile -scale-to-x "$2" -scale-to-y "$3" "$1" "${4%.png}"
}
