#!/bin/bash
# The archive's search at scale: converts a generated archive of 2000
# documents of varied text with `fa4tohtml -r -d`, prints the size of its
# search data against the size of the archive's text (`--text`; goal: at
# most 1.5) and, in Chromium, the time from typing a word to its first
# results (goal: under 200 ms); then writes an index and search data for
# 100000 made-up documents (none converted) and times how it opens and
# searches.
#
#   bench/search-bench.sh [BUILD_DIR]
#
# Needs web/node_modules (npm ci in web/) and /usr/bin/chromium.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then TMPDIR=/dev/shm; fi
work=$(mktemp -d -p "${TMPDIR:-/tmp}")
trap 'rm -rf "$work"' EXIT INT TERM

"$build/bench/archive/make_archive_tree" "$work/tree" 2000 40 varied
"$build/cli/fa4tohtml" -r -d "$work/site" "$work/tree" 2>/dev/null
"$build/cli/fa4tohtml" --text -r -d "$work/text" "$work/tree" 2>/dev/null
text=$(find "$work/text" -name '*.txt' -printf '%s\n' | awk '{ s += $1 } END { print s }')
data=$(find "$work/site/search" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
awk -v t="$text" -v d="$data" 'BEGIN { printf "2000 documents: text %d bytes, search data %d bytes: %.2f times the text\n", t, d, d / t }'
node "$here/search-bench.js" "$work/site"
rm -rf "$work/tree" "$work/site" "$work/text"

"$build/bench/archive/make_search_site" "$work/big" 100000
node "$here/search-bench.js" "$work/big"
