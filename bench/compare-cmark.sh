#!/bin/bash
# fa4tohtml side by side with cmark on the same amount of running text:
# about 10 MB of realistic documents, and Markdown paragraphs of the same
# size. Each run converts the documents with `fa4tohtml -j 1 -d DIR` into a
# fresh, empty DIR (creating the files is part of the work, as for users),
# then the Markdown with cmark; RUNS runs alternate the two. Prints every
# pair, both throughputs, and the median of the ratios of fa4tohtml's
# throughput to cmark's (goal: 4 or more), with the load of the machine.
# Runs are timed by bash's own clock: starting a timing program after each
# run would add its own start to every figure.
#
#   bench/compare-cmark.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-5}
fa4tohtml="$build/cli/fa4tohtml"
generator="$build/bench/document/make_cmark_inputs"
for program in "$fa4tohtml" "$generator"; do
  [ -x "$program" ] || { echo "compare-cmark: $program is missing; build first" >&2; exit 1; }
done
if ! command -v cmark >/dev/null 2>&1; then
  echo "compare-cmark: installing cmark" >&2
  if [ "$(id -u)" -eq 0 ]; then
    apt-get install -y cmark >&2
  else
    sudo apt-get install -y cmark >&2
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/documents"
bytes=$("$generator" "$work/documents" "$work/text.md" 16)
markdown_bytes=$(wc -c <"$work/text.md")


# Microseconds of one conversion of all documents into an empty folder.
time_fa4tohtml() {
  rm -rf "$work/out"
  mkdir "$work/out"
  start=$EPOCHREALTIME
  "$fa4tohtml" -j 1 -d "$work/out" "$work"/documents/*.fa4
  end=$EPOCHREALTIME
  echo $((${end/[.,]/} - ${start/[.,]/}))
}

time_cmark() {
  start=$EPOCHREALTIME
  cmark "$work/text.md" >"$work/text.html"
  end=$EPOCHREALTIME
  echo $((${end/[.,]/} - ${start/[.,]/}))
}

echo "documents: $bytes bytes in 16 files; Markdown: $markdown_bytes bytes"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), cores: $(nproc)"
time_fa4tohtml >/dev/null # fills the page cache
time_cmark >/dev/null
pairs=
i=0
while [ "$i" -lt "$runs" ]; do
  pairs="$pairs $(time_fa4tohtml):$(time_cmark)"
  i=$((i + 1))
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

echo "$pairs" | tr ' ' '\n' | grep . | awk -F: -v b="$bytes" -v m="$markdown_bytes" '
  {
    fa[NR] = $1; cm[NR] = $2
    ratio[NR] = (b / $1) / (m / $2)
    printf "run %d: fa4tohtml %8.1f ms %7.1f MB/s   cmark %8.1f ms %7.1f MB/s   ratio %5.2f\n",
      NR, $1 / 1000, b / $1, $2 / 1000, m / $2, ratio[NR]
  }
  END {
    n = NR
    for (i = 1; i <= n; i++)
      for (j = i + 1; j <= n; j++)
        if (ratio[j] < ratio[i]) { t = ratio[i]; ratio[i] = ratio[j]; ratio[j] = t }
    median = n % 2 ? ratio[(n + 1) / 2] : (ratio[n / 2] + ratio[n / 2 + 1]) / 2
    printf "median ratio: %.2f (goal: 4 or more)\n", median
  }'
