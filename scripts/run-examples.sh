#!/bin/sh
# Installs what converting needs (the compiler, CMake and Ninja; not Qt, the
# tests or the benchmarks), builds only the converter into build/converter/
# and converts every sample document of examples/ into out/.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh converter
dir=build/converter
cmake -S . -B "$dir" -G Ninja -DQUORVEX_GUI=OFF -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$dir" --target fa4tohtml
mkdir -p out
"$dir/cli/fa4tohtml" -d out examples/*.fa4
echo "The converter is $(pwd)/$dir/cli/fa4tohtml; the HTML is in $(pwd)/out/:"
ls -l out
