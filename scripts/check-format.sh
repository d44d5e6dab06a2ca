#!/bin/sh
# Fails when a C++ file of the tree differs from the house style of .clang-format.
# Fails too when the files cannot be listed (no git, no work tree): a check
# that looked at nothing must not pass.
set -e
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' | grep -v '^fuzz/corpus/')
[ -n "$files" ] || { echo "check-format: no C++ files found to check" >&2; exit 1; }
echo "$files" | xargs clang-format --dry-run -Werror
