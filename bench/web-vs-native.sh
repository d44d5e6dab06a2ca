#!/bin/bash
# The browser module (build-web/site/fa4tohtml.js) in Node against native
# fa4tohtml on the documents of bench/compare-cmark.sh (16 documents, about
# 10 MB). Both read the documents and write each HTML into a fresh, empty
# folder; the module's load is timed apart. Prints every run, both
# throughputs and the median of the module's throughput over native's
# (goal: a third or more); then the time the page in Chromium takes to show
# a document of 1 MB (bench/web-page.js).
#
#   bench/web-vs-native.sh [BUILD_DIR] [RUNS] [WEB_DIR]
set -eu
build=${1:-build}
runs=${2:-5}
web=${3:-build-web}
fa4tohtml="$build/cli/fa4tohtml"
generator="$build/bench/document/make_cmark_inputs"
module="$(realpath "$web/site/fa4tohtml.js" 2>/dev/null || echo "$web/site/fa4tohtml.js")"
for program in "$fa4tohtml" "$generator" "$module"; do
  [ -e "$program" ] || { echo "web-vs-native: $program is missing; build first (scripts/build-web.sh for the module)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/documents"
bytes=$("$generator" "$work/documents" "$work/text.md" 16)

# Microseconds of one native conversion of all documents into an empty folder.
time_native() {
  rm -rf "$work/out"
  mkdir "$work/out"
  start=$EPOCHREALTIME
  "$fa4tohtml" -j 1 -d "$work/out" "$work"/documents/*.fa4
  end=$EPOCHREALTIME
  echo $((${end/[.,]/} - ${start/[.,]/}))
}

echo "documents: $bytes bytes in 16 files"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), cores: $(nproc)"
time_native >/dev/null # fills the page cache
native=
for ((i = 0; i < runs; ++i)); do native="$native $(time_native)"; done
# The same work in one Node process, each run into a fresh folder.
web_times=$(node - "$module" "$work" "$runs" <<'JS'
const fs = require('fs');
const path = require('path');
const [modulePath, work, runs] = process.argv.slice(2);
const loadStart = process.hrtime.bigint();
require(modulePath)().then((converter) => {
  console.log(`module load: ${(Number(process.hrtime.bigint() - loadStart) / 1e6).toFixed(1)} ms`);
  const folder = path.join(work, 'documents');
  const names = fs.readdirSync(folder).filter((name) => name.endsWith('.fa4')).sort();
  const times = [];
  for (let run = 0; run <= Number(runs); ++run) {
    const out = path.join(work, 'web-out-' + run);
    fs.mkdirSync(out);
    const start = process.hrtime.bigint();
    for (const name of names) {
      const html = converter.convert(new Uint8Array(fs.readFileSync(path.join(folder, name))));
      fs.writeFileSync(path.join(out, name + '.html'), html);
    }
    const micros = Number((process.hrtime.bigint() - start) / 1000n);
    if (run > 0) times.push(micros); // the first run warms up the compiler
    fs.rmSync(out, { recursive: true });
  }
  console.log(times.join(' '));
});
JS
)
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$web_times" | head -1
web_times=$(echo "$web_times" | tail -1)
paste <(echo "$native" | tr ' ' '\n' | grep .) <(echo "$web_times" | tr ' ' '\n' | grep .) |
  awk -v b="$bytes" '
  {
    na[NR] = $1; wa[NR] = $2
    ratio[NR] = $1 / $2
    printf "run %d: native %8.1f ms %7.1f MB/s   module in Node %8.1f ms %7.1f MB/s   ratio %5.2f\n",
      NR, $1 / 1000, b / $1, $2 / 1000, b / $2, ratio[NR]
  }
  END {
    n = NR
    for (i = 1; i <= n; i++)
      for (j = i + 1; j <= n; j++)
        if (ratio[j] < ratio[i]) { t = ratio[i]; ratio[i] = ratio[j]; ratio[j] = t }
    median = n % 2 ? ratio[(n + 1) / 2] : (ratio[n / 2] + ratio[n / 2 + 1]) / 2
    printf "median ratio of the module to native: %.2f (goal: 0.33 or more)\n", median
  }'
# And the page itself in Chromium, where both are there.
if [ -x /usr/bin/chromium ] && [ -d web/node_modules/puppeteer-core ]; then
  node bench/web-page.js 3
fi
