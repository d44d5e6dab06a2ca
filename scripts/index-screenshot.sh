#!/bin/sh
# Converts a small archive made of the sample documents with `fa4tohtml -r -d`
# and takes a picture of its index page in Chromium, for the README:
# docs/screenshots/index.png.
#
#   scripts/index-screenshot.sh [BUILD-FOLDER]
#
# BUILD-FOLDER defaults to build/ (it must hold cli/fa4tohtml).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium
fa4tohtml="$(pwd)/${1:-build}/cli/fa4tohtml"
out="$(pwd)/docs/screenshots/index.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

archive="$work/archiv"
mkdir -p "$archive/briefe/1994" "$archive/briefe/1995" "$archive/berichte" "$archive/.alt"
cp examples/brief.fa4 "$archive/briefe/1994/BRIEF.TXT"
cp examples/notiz.fa4 "$archive/briefe/1995/BRIEF.TXT"
cp examples/bericht.fa4 "$archive/berichte/Q1-1994.TXT"
cp examples/notiz.fa4 "$archive/.alt/NOTIZ.TXT"
# A copy that lost most of its text: converted, its row says what it lost.
head -c 110300 examples/notiz.fa4 >"$archive/briefe/1995/KOPIE.TXT"
printf 'Archiv der Musterfirma\r\n' >"$archive/LIESMICH.TXT"
# Too large for any document: listed as not converted. Sparse, so it takes
# no disk space.
cp examples/bericht.fa4 "$archive/berichte/DEFEKT.TXT"
truncate -s 2G "$archive/berichte/DEFEKT.TXT"
touch -d "1994-03-03 10:15" "$archive/briefe/1994/BRIEF.TXT"
touch -d "1995-11-20 16:40" "$archive/briefe/1995/BRIEF.TXT"
touch -d "1994-04-08 09:02" "$archive/berichte/Q1-1994.TXT"
touch -d "1996-01-15 12:00" "$archive/berichte/DEFEKT.TXT"
touch -d "1993-07-01 08:30" "$archive/.alt/NOTIZ.TXT"
touch -d "1995-11-21 09:10" "$archive/briefe/1995/KOPIE.TXT"

(cd "$work" && TZ=UTC "$fa4tohtml" -r -d site archiv) || true
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$work/profile" \
  --screenshot="$out" --window-size=1400,900 "file://$work/site/index.html" 2>/dev/null
echo "$out"
