#!/bin/sh
# Fails when a C++ file of the tree differs from the house style of .clang-format.
set -e
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | grep -v '^fuzz/corpus/' | xargs clang-format --dry-run -Werror
