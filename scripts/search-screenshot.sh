#!/bin/sh
# Converts a small archive of the sample documents and a few generated ones
# with `fa4tohtml -r -d`, types a word into its index's search field in
# Chromium and takes a picture, for the README: docs/screenshots/index-search.png.
#
#   scripts/search-screenshot.sh [BUILD-FOLDER]
#
# BUILD-FOLDER defaults to build/ (it must hold cli/fa4tohtml and
# bench/archive/make_archive_tree); web/node_modules must be installed.
set -e
cd "$(dirname "$0")/.."
build="$(pwd)/${1:-build}"
out="$(pwd)/docs/screenshots/index-search.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

archive="$work/archiv"
mkdir -p "$archive/briefe/1994" "$archive/berichte"
cp examples/brief.fa4 "$archive/briefe/1994/BRIEF.TXT"
cp examples/bericht.fa4 "$archive/berichte/Q1-1994.TXT"
cp examples/notiz.fa4 "$archive/berichte/NOTIZ.TXT"
touch -d "1994-03-03 10:15" "$archive/briefe/1994/BRIEF.TXT"
touch -d "1994-04-08 09:02" "$archive/berichte/Q1-1994.TXT" "$archive/berichte/NOTIZ.TXT"
"$build/bench/archive/make_archive_tree" "$archive/ablage" 6 2
(cd "$work" && TZ=UTC "$build/cli/fa4tohtml" -r -d site archiv 2>/dev/null)
node scripts/search-screenshot.js "$work/site" "schrauben m8" "$out"
echo "$out"
