#!/bin/bash
# Peak memory of fa4tohtml per byte of document text: a document of running
# text whose 10000 lines hold SIZE bytes in all, converted alone and two at a
# time with -j 2. The HTML is written to its file as it is made, so the peak
# follows the bytes the line table references (about one byte per byte) plus
# a few MiB, whatever the size of the HTML.
#
#   bench/memory-per-byte.sh [BUILD_DIR] [SIZE_MB]
#
# SIZE_MB defaults to 100; 558 is the size of the largest document reported.
# Goal: under 2.2 bytes of memory per byte of text (1.2 GB for 558 MB), two
# documents under 2.5 GB.
set -euo pipefail
build=${1:-build}
size_mb=${2:-100}
converter=$(realpath "$build/cli/fa4tohtml")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_document FILE SIZE_MB: 10000 lines of words, umlauts, ampersands and
# double blanks, which the HTML spells as entities, each line's text after
# the one before, as the word processor stores them.
make_document() {
  python3 - "$1" "$2" <<'PY'
import sys
name, size = sys.argv[1], int(sys.argv[2]) << 20
lines = 10000
per_line = min(65535, size // lines)
words = b"Sehr geehrte Damen und Herren,  wir danken f\x81r Ihr Schreiben an M\x81ller & S\x94hne, \x84rger "
text = (words * (per_line // len(words) + 1))[:per_line]
table = bytearray(38 + 11 * 10000)
offset = 110000
for i in range(lines - 1):
    at = 38 + 11 * i
    table[at + 4:at + 10] = per_line.to_bytes(2, 'little') + offset.to_bytes(4, 'little')
    offset += per_line
with open(name, 'wb') as out:
    out.write(table)
    for i in range(lines - 1):
        out.write(text)
PY
}

# measure LABEL BYTES COMMAND...: prints the time, the peak memory and the
# peak per byte of text.
measure() {
  local label=$1 bytes=$2
  shift 2
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || true
  read -r seconds kilobytes <"$work/time"
  python3 -c "import sys; s, k, b = float(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]); \
print(f'{sys.argv[4]}: {s:.1f} s, peak {k / 1024:.0f} MiB, {k * 1024 / b:.2f} bytes per byte of text')" \
    "$seconds" "$kilobytes" "$bytes" "$label"
  if [ -s "$work/err" ]; then sed 's/^/  /' "$work/err"; fi
}

make_document "$work/big.fa4" "$size_mb"
cp --sparse=always "$work/big.fa4" "$work/big2.fa4"
bytes=$(stat -c %s "$work/big.fa4")
echo "document: $((bytes >> 20)) MiB"
measure "one document" "$bytes" "$converter" "$work/big.fa4"
measure "two with -j 2" "$((2 * bytes))" "$converter" -j 2 "$work/big.fa4" "$work/big2.fa4"
