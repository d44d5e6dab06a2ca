#!/bin/sh
# A batch of 300 small documents converted by fa4tohtml into an empty folder,
# against cp -r of the same documents into an empty folder: the wall time of
# each, best of RUNS runs, and their ratio. The goal is a ratio of at most
# 1.5: a new file is not synced, so the batch waits on the disk no more than
# the copy does. Everything happens in a temporary folder of its own.
#
#   bench/batch-vs-copy.sh [BUILD-FOLDER] [RUNS]
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
converter="$build/cli/fa4tohtml"
[ -x "$converter" ] || { echo "batch-vs-copy: no $converter; build first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-batch-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/documents"
i=0
while [ $i -lt 100 ]; do
  for sample in examples/*.fa4; do
    cp "$sample" "$work/documents/$(basename "$sample" .fa4)-$i.fa4"
  done
  i=$((i + 1))
done
count=$(ls "$work/documents" | wc -l)

now() { date +%s%N; }

# Wall time in microseconds of "$@" into a new empty folder given as $out.
timed()
{
  rm -rf "$work"/out
  out="$work/out"
  mkdir "$out"
  sync
  start=$(now)
  "$@" >/dev/null
  end=$(now)
  echo $(((end - start) / 1000))
}

convert() { "$converter" -d "$out" "$work"/documents/*.fa4; }
copy() { cp -r "$work/documents/." "$out/"; }

# The two take turns, so that a change in the machine's load meets both.
batch=""
copied=""
run=0
while [ $run -lt "$runs" ]; do
  took=$(timed convert)
  if [ -z "$batch" ] || [ "$took" -lt "$batch" ]; then batch=$took; fi
  took=$(timed copy)
  if [ -z "$copied" ] || [ "$took" -lt "$copied" ]; then copied=$took; fi
  run=$((run + 1))
done
ratio=$(awk -v a="$batch" -v b="$copied" 'BEGIN { printf "%.2f", a / b }')
echo "$count documents of $(du -sh "$work/documents" | cut -f1), best of $runs runs:"
echo "  fa4tohtml -d: $((batch / 1000)).$(printf %03d $((batch % 1000))) ms"
echo "  cp -r:        $((copied / 1000)).$(printf %03d $((copied % 1000))) ms"
echo "  ratio:        $ratio (goal: at most 1.50)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }'
