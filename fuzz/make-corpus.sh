#!/usr/bin/env bash
# Gathers the seed corpus for the fuzzer: every drawing of the tests and the
# examples, copied flat into DEST (named after their path in the checkout).
set -euo pipefail
dest=${1:?usage: fuzz/make-corpus.sh DEST}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$dest"
count=0
while IFS= read -r -d '' drawing; do
    relative=${drawing#"$root"/}
    cp "$drawing" "$dest/${relative//\//_}"
    count=$((count + 1))
done < <(find "$root/tests/data" "$root/examples" -type f -name '*.svg' -print0 2>/dev/null)
echo "seed corpus: $count drawings in $dest"
