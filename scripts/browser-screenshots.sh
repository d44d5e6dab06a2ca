#!/bin/sh
# Converts sample documents with fa4tohtml and takes a picture of each as
# Chromium shows it, for the README: docs/screenshots/browser-NAME.png.
#
#   scripts/browser-screenshots.sh [BUILD-FOLDER [DOCUMENT...]]
#
# BUILD-FOLDER defaults to build/ (it must hold cli/fa4tohtml), the documents
# to examples/bericht.fa4 and examples/notiz.fa4. Needs chromium and
# ImageMagick's convert.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium

build=${1:-build}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] || set -- examples/bericht.fa4 examples/notiz.fa4
converter="$build/cli/fa4tohtml"
if [ ! -x "$converter" ]; then
  echo "browser-screenshots: $converter is not built (cmake --build $build --target fa4tohtml)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs/screenshots
for document in "$@"; do
  name=$(basename "$document" .fa4)
  "$converter" -o "$work/$name.html" "$document"
  mkdir "$work/profile-$name"
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile-$name" \
    --screenshot="$work/$name.png" --window-size=1200,1600 "file://$work/$name.html" \
    >"$work/$name.log" 2>&1 || { cat "$work/$name.log" >&2; exit 1; }
  # The page is far shorter than the window: keep the text and a margin.
  convert "$work/$name.png" -trim -bordercolor white -border 12 "docs/screenshots/browser-$name.png"
  echo "docs/screenshots/browser-$name.png"
done
