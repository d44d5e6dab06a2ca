#!/bin/bash
# Documents whose lines all point at one shared text, made large by a sparse
# tail that no line references. A document holds only its head, its line
# table and the texts its lines reference, and its bound on the work follows
# those bytes, so such a document costs what its referenced bytes cost,
# whatever the size of the file.
#
#   bench/sparse-documents.sh [BUILD_DIR]
#
# Prints, with the peak memory as /usr/bin/time reports it:
# - one document of 1000 lines sharing a 65535-byte text, 2 GiB - 1 byte
#   large by its sparse tail, converted from the file and from standard
#   input (goal: under 256 MB, refused as too complex or under 64 MB of HTML);
# - two such documents with -j 2 (goal: the same bound);
# - -r over 20 documents of 10000 lines sharing one 65535-byte text of
#   blanks, whose index searches each for a title (goal: a few seconds).
set -euo pipefail
build=${1:-build}
converter=$(realpath "$build/cli/fa4tohtml")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_document FILE LINES BYTE [SIZE]: LINES entries all pointing at one
# 65535-byte text of BYTE after the table; the file is cut or extended to
# SIZE bytes (sparse) when given.
make_document() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
name, lines, byte = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
table = bytearray(38 + 11 * 10000)
for i in range(lines):
    at = 38 + 11 * i
    table[at + 4:at + 10] = (65535).to_bytes(2, 'little') + (110000).to_bytes(4, 'little')
open(name, 'wb').write(table + bytes([byte]) * 65535)
PY
  if [ $# -ge 4 ]; then truncate -s "$4" "$1"; fi
}

# measure LABEL COMMAND...: runs the command and prints its time, peak memory
# and outcome.
measure() {
  local label=$1 status=0
  shift
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/out" 2>"$work/err" || status=$?
  read -r secs rss < <(tail -n 1 "$work/time")
  local outcome
  if [ "$status" -eq 0 ]; then
    outcome="converted, $(wc -c <"$work/out") bytes on standard output"
  else
    outcome="$(grep -c '^fa4tohtml:' "$work/err") failed: $(grep '^fa4tohtml:' "$work/err" | head -n 1 | sed 's/.*: //')"
  fi
  printf '%-34s %8s %12s  %s\n' "$label" "$secs" "$rss" "$outcome"
}

make_document "$work/a.fa4" 1000 176 2147483647
make_document "$work/b.fa4" 1000 176 2147483647
mkdir "$work/archive"
for i in $(seq -w 1 20); do make_document "$work/archive/doc$i.fa4" 10000 32; done
# The tenth thousand entry in use is refused as too many lines; one fewer
# keeps the documents valid.
for doc in "$work"/archive/*.fa4; do
  printf '\0\0\0\0\0\0' | dd of="$doc" bs=1 seek=$((38 + 11 * 9999 + 4)) conv=notrunc status=none
done

printf '%-34s %8s %12s  %s\n' case seconds max-rss-KiB outcome
measure "2 GiB sparse, 1000 shared lines" "$converter" -o - "$work/a.fa4"
measure "the same through a pipe" sh -c "cat '$work/a.fa4' | '$converter' -"
measure "two of them with -j 2" "$converter" -j 2 -d "$work" "$work/a.fa4" "$work/b.fa4"
measure "-r over 20 x 9999 blank lines" "$converter" -r -j 1 -d "$work/html" "$work/archive"
