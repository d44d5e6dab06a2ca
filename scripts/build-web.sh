#!/bin/sh
# Builds the converter's page into build-web/site/ (or DIR/site): index.html,
# its script and style sheet, fa4tohtml.js with the WebAssembly inside, and
# the zip library with its licence. The folder works opened from the disk or
# published on any static web server.
#
#   scripts/build-web.sh [DIR]
set -e
cd "$(dirname "$0")/.."
dir=${1:-build-web}
command -v em++ >/dev/null 2>&1 || scripts/install-deps.sh converter emscripten
command -v npm >/dev/null 2>&1 || scripts/install-deps.sh converter nodejs npm
# Emscripten's tools load their JavaScript modules from Debian's Node.js
# folder, which a node other than Debian's own does not search.
if ! (cd / && node -e 'require("acorn")') >/dev/null 2>&1; then
  NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  export NODE_PATH
fi
# The zip library, at the version the lock file names.
[ -f web/node_modules/fflate/umd/index.js ] || (cd web && npm ci --no-audit --no-fund)

emcmake cmake -S web -B "$dir" -G Ninja >/dev/null
cmake --build "$dir"

site="$dir/site"
mkdir -p "$site"
cp web/index.html web/page.js web/page.css web/archive.js "$dir/fa4tohtml.js" "$site/"
cp web/node_modules/fflate/umd/index.js "$site/fflate.js"
# The words and passages of a search, as the index's search.js begins: the
# module hands the page the same script.
node -e 'require(require("path").resolve(process.argv[1]))().then((m) => require("fs").writeFileSync(process.argv[2], m.searchTextScript()))' \
  "$dir/fa4tohtml.js" "$site/search-text.js"
cp web/node_modules/fflate/LICENSE "$site/fflate-LICENSE.txt"
echo "build-web: $site holds $(du -cb "$site"/* | tail -1 | cut -f1) bytes"
