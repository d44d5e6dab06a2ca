#!/bin/sh
# Converts a generated archive of 2000 documents in 40 folders with
# `fa4tohtml -r -d`: on one thread, on two, and once more with --update over
# the finished output. Prints the best of RUNS runs of each, the speed-up of
# -j 2 over -j 1 (goal: 1.7 or more on two cores) and the --update run as a
# share of the -j 2 run (goal: under 5 %), with the load of the machine.
#
#   bench/archive-bench.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-5}
fa4tohtml="$build/cli/fa4tohtml"
generator="$build/bench/archive/make_archive_tree"
for program in "$fa4tohtml" "$generator"; do
  [ -x "$program" ] || { echo "archive-bench: $program is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
"$generator" "$work/archive" 2000 40

# Microseconds one run takes; the output folder starts empty unless asked.
run_once() {
  keep=$1
  shift
  [ "$keep" = keep ] || rm -rf "$work/site"
  start=$(date +%s%N)
  "$fa4tohtml" -r -d "$work/site" "$@" "$work/archive" 2>"$work/stderr" || {
    cat "$work/stderr" >&2
    exit 1
  }
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

best_of() {
  best=
  i=0
  while [ "$i" -lt "$runs" ]; do
    t=$(run_once "$@")
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    i=$((i + 1))
  done
  echo "$best"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), cores: $(nproc)"
run_once fresh -j 2 >/dev/null # fills the page cache
one=$(best_of fresh -j 1)
two=$(best_of fresh -j 2)
run_once fresh -j 2 >/dev/null
update=$(best_of keep -j 2 --update)
grep -q " 2000 up to date, 0 failed" "$work/stderr" || {
  echo "archive-bench: the --update run converted again:" >&2
  cat "$work/stderr" >&2
  exit 1
}
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v one="$one" -v two="$two" -v update="$update" 'BEGIN {
  printf "-j 1:      %8.1f ms\n", one / 1000
  printf "-j 2:      %8.1f ms  (%.2fx faster than -j 1; goal 1.7x)\n", two / 1000, one / two
  printf "--update:  %8.1f ms  (%.1f %% of -j 2; goal under 5 %%)\n", update / 1000, 100 * update / two
}'
