#!/bin/sh
# Installs what is missing, builds, and converts every sample document of
# examples/ into out/ with the headless converter.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
mkdir -p out
build/cli/fa4tohtml -d out examples/*.fa4
ls -l out
