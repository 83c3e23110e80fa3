#!/bin/bash
# Rebuilds the real-drawing corpus from the npm registry: the exact package
# versions below, each drawing copied unchanged, with the package's licence and
# a VERSION note beside it. Run from anywhere; needs npm.
#   bash tests/visual/corpus/collect.sh
set -euo pipefail

corpus=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# folder  package@version  licence  licence-file  files (paths inside the package)
packages=(
  "flag-icons|flag-icons@7.5.0|MIT|LICENSE|flags/4x3/ae flags/4x3/de flags/4x3/fr flags/4x3/gb flags/4x3/us flags/4x3/se flags/4x3/no flags/4x3/ch flags/4x3/gr flags/4x3/jp flags/4x3/bd flags/4x3/ca flags/4x3/ke flags/4x3/cn flags/4x3/kr flags/4x3/za flags/4x3/br flags/4x3/tr flags/4x3/np flags/4x3/in flags/4x3/eu flags/4x3/ag flags/4x3/mx flags/1x1/gb"
  "feather-icons|feather-icons@4.29.2|MIT|LICENSE|dist/icons/activity dist/icons/airplay dist/icons/alert-circle dist/icons/archive dist/icons/battery dist/icons/camera dist/icons/map dist/icons/settings"
  "bootstrap-icons|bootstrap-icons@1.13.2|MIT|LICENSE|icons/alarm icons/bank icons/bug-fill icons/heart-fill icons/gear-fill icons/github icons/emoji-smile icons/calendar-event"
  "tabler-icons|@tabler/icons@3.54.0|MIT|LICENSE|icons/outline/ad icons/outline/bell icons/outline/brand-github icons/outline/chart-pie icons/outline/settings icons/outline/home icons/filled/heart icons/filled/star"
  "heroicons|heroicons@2.2.0|MIT|LICENSE|24/outline/academic-cap 24/outline/bell 24/solid/academic-cap 24/solid/bolt 20/solid/check-circle 16/solid/star"
  "octicons|@primer/octicons@19.42.0|MIT|LICENSE|build/svg/alert-16 build/svg/git-branch-16 build/svg/mark-github-16 build/svg/repo-24 build/svg/heart-fill-16 build/svg/rocket-24"
  "simple-icons|simple-icons@16.37.0|CC0-1.0|LICENSE.md|icons/github icons/docker icons/spotify icons/firefoxbrowser icons/debian icons/gnu icons/mastodon icons/linux"
  "cryptocurrency-icons|cryptocurrency-icons@0.18.1|CC0-1.0|LICENSE.md|svg/color/btc svg/color/eth svg/color/ltc svg/color/xmr svg/color/doge svg/color/usdt svg/color/ada"
  "super-tiny-icons|super-tiny-icons@0.6.0|MIT|LICENSE|images/svg/github images/svg/wikipedia images/svg/firefox images/svg/debian images/svg/android images/svg/docker images/svg/mastodon images/svg/linux"
)

for entry in "${packages[@]}"; do
    IFS='|' read -r folder package licence licenceFile files <<<"$entry"
    (cd "$work" && npm pack --silent "$package" >/dev/null)
    tarball=$(ls "$work"/*.tgz)
    mkdir -p "$work/unpacked" && tar xzf "$tarball" -C "$work/unpacked"
    rm -rf "${corpus:?}/$folder" && mkdir -p "$corpus/$folder"
    cp "$work/unpacked/package/$licenceFile" "$corpus/$folder/"
    printf '%s %s\nlicence: %s (%s)\nfetched with: npm pack %s\nfiles copied unchanged; a name joins the file'"'"'s folders inside the package with "-" when the icon set has several styles or sizes\n' \
        "${package%@*}" "${package##*@}" "$licence" "$licenceFile" "$package" >"$corpus/$folder/VERSION"
    for file in $files; do
        name=$(basename "$file")
        folders=$(dirname "$file")
        case "$folder" in
            flag-icons|tabler-icons) name="$(basename "$folders")-$name" ;;
            heroicons) name="${folders//\//-}-$name" ;;
        esac
        cp "$work/unpacked/package/$file.svg" "$corpus/$folder/$name.svg"
    done
    rm -rf "$work/unpacked" "$tarball"
done
