#!/bin/sh
# Configures and builds the project into build/ (or the folder given as $1).
set -e
cd "$(dirname "$0")/.."
dir=${1:-build}
shift 2>/dev/null || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
