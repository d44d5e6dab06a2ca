#!/bin/sh
# Converts the hand-made worst-case documents and prints, for each, the
# outcome, the wall time and the peak memory as /usr/bin/time -v reports them.
# Usage: scripts/hostile-check.sh [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tests/fuzz/make_hostile" "$work/docs" >/dev/null
printf '%-26s %8s %10s %12s  %s\n' document bytes seconds max-rss-KiB outcome
for doc in "$work"/docs/*.fa4; do
  name=$(basename "$doc")
  status=0
  /usr/bin/time -v "$build/cli/fa4tohtml" -o "$work/out.html" "$doc" 2>"$work/time" || status=$?
  secs=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
  if [ "$status" -eq 0 ]; then
    outcome="converted, $(wc -c <"$work/out.html") bytes of HTML"
  else
    outcome=$(grep '^fa4tohtml:' "$work/time" | head -n 1)
  fi
  printf '%-26s %8s %10s %12s  %s\n' "$name" "$(wc -c <"$doc")" "$secs" "$rss" "$outcome"
done
