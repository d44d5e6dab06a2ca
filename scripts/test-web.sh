#!/bin/sh
# Builds the converter's page, then holds it to the native converter: the
# Node tests compare convert() and "Save all" with fa4tohtml's bytes, the
# browser test drives Debian's Chromium through the page.
#
#   scripts/test-web.sh [NATIVE_BUILD_DIR]    (default: build, with cli/fa4tohtml built)
set -e
cd "$(dirname "$0")/.."
native=${1:-build}
FA4TOHTML="$(pwd)/$native/cli/fa4tohtml"
[ -x "$FA4TOHTML" ] || { echo "test-web: $FA4TOHTML is missing; build first" >&2; exit 1; }
export FA4TOHTML
command -v chromium >/dev/null 2>&1 || scripts/install-deps.sh converter chromium
command -v npm >/dev/null 2>&1 || scripts/install-deps.sh converter nodejs npm
(cd web && npm ci --no-audit --no-fund --loglevel=error)
scripts/build-web.sh
node --test web/tests/
node --test web/tests/page.browser.js
node --test web/tests/search.browser.js
