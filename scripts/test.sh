#!/bin/sh
# Installs what is missing, builds, and runs every test.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
# The window's tests draw offscreen, but Qt WebEngine asks for OpenGL at its
# start: a virtual X screen gives it one, where a machine without any would
# have Qt warn on standard error, which the tests read.
QT_QPA_PLATFORM=offscreen xvfb-run -a ctest --test-dir build --output-on-failure -j2
scripts/test-web.sh build
