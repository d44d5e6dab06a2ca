#!/bin/sh
# Installs what is missing, builds, and runs every test.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
scripts/test-web.sh build
