#!/bin/bash
# Converts a generated archive of 2000 documents in 40 folders with
# `fa4tohtml -r -d`: on one thread, on two, and once more with --update over
# the finished output. Prints the best of RUNS runs of each, the speed-up of
# -j 2 over -j 1 (goal: 1.7 or more on two cores) and the --update run as a
# share of the -j 2 run (goal: under 5 %), with the load of the machine.
#
#   bench/archive-bench.sh [BUILD_DIR] [RUNS]
#
# The tree and the HTML go to a temporary folder under $TMPDIR, by default
# under /dev/shm where there is one: on a disk file system that has just
# deleted thousands of files (every run starts from an empty output folder)
# creating new ones costs more than converting them, and the figures would
# measure the file system.
#
# A run is timed from the shell that starts it (bash's clock, no timing
# program of its own to start around it), so that the figures hold the
# program's own start and end but not a helper's: for the short --update run
# a helper's start would weigh as much as the work.
#
# The generated documents are dated in the years of their folders, as an
# archive's are; the cache beside the index leaves out files changed in the
# last seconds before a run.
#
# On a machine shared with other sessions the scheduler splits the cores
# between sessions, whatever the nice value; as root, a session of its own
# with a raised priority keeps their load out of the figures:
#   setsid sh -c 'echo -20 >/proc/$$/autogroup; exec bench/archive-bench.sh'
set -euo pipefail
build=${1:-build}
runs=${2:-5}
fa4tohtml="$build/cli/fa4tohtml"
generator="$build/bench/archive/make_archive_tree"
for program in "$fa4tohtml" "$generator"; do
  [ -x "$program" ] || { echo "archive-bench: $program is missing; build first" >&2; exit 1; }
done

if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then TMPDIR=/dev/shm; fi
work=$(mktemp -d -p "${TMPDIR:-/tmp}")
trap 'rm -rf "$work"' EXIT INT TERM
"$generator" "$work/archive" 2000 40

# Processor seconds (user and system) of the programs a shell waited for,
# from the output of its `times`.
children_cpu() {
  awk 'NR == 2 {
    split($1, u, /[ms]/); split($2, s, /[ms]/)
    printf "%.4f\n", u[1] * 60 + u[2] + s[1] * 60 + s[2]
  }' "$1"
}

# One run: its wall-clock microseconds, then its processor seconds (user and
# system, all threads). The output folder starts empty unless asked.
run_once() {
  keep=$1
  shift
  [ "$keep" = keep ] || rm -rf "$work/site"
  times >"$work/times-before"
  start=$EPOCHREALTIME
  "$fa4tohtml" -r -d "$work/site" "$@" "$work/archive" 2>"$work/stderr" || {
    cat "$work/stderr" >&2
    exit 1
  }
  end=$EPOCHREALTIME
  times >"$work/times-after"
  echo "$((${end/[.,]/} - ${start/[.,]/})) $(awk -v a="$(children_cpu "$work/times-after")" \
    -v b="$(children_cpu "$work/times-before")" 'BEGIN { print a - b }')"
}

# The fastest of RUNS runs, as "microseconds cpu-seconds".
best_of() {
  best=
  i=0
  while [ "$i" -lt "$runs" ]; do
    t=$(run_once "$@")
    if [ -z "$best" ] || [ "${t%% *}" -lt "${best%% *}" ]; then best=$t; fi
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
awk -v one="${one%% *}" -v two="${two%% *}" -v update="${update%% *}" \
  -v cpu1="${one#* }" -v cpu2="${two#* }" -v cpuu="${update#* }" 'BEGIN {
  printf "-j 1:      %8.1f ms  (processor time %.3f s)\n", one / 1000, cpu1
  printf "-j 2:      %8.1f ms  (processor time %.3f s; %.2fx faster than -j 1; goal 1.7x)\n", two / 1000, cpu2, one / two
  printf "--update:  %8.1f ms  (processor time %.3f s; %.1f %% of -j 2; goal under 5 %%)\n", update / 1000, cpuu, 100 * update / two
}'
