#!/bin/sh
# Builds the Debian packages fa4tohtml and quorvex into build/packages/:
# installs what is missing, builds the programs without tests and benchmarks
# in a folder of their own (build/package-build/, so the tests' build/ stays
# as it is) with Debian's hardening flags, and lets CPack make the packages.
#   apt install ./build/packages/*.deb
# then installs both. Arguments go to CMake, for instance
# -DQUORVEX_HOMEPAGE=https://... for the packages' home page.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
dir=build/package-build
out=build/packages
# The change log's date is the last commit's, so the same sources package
# the same way.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUORVEX_GUI=ON -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF -DQUORVEX_FUZZ=OFF -DQUORVEX_SANITIZE=OFF \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" "$@" >/dev/null
cmake --build "$dir"
rm -rf "$dir/cpack"
cpack --config "$dir/CPackConfig.cmake" -B "$dir/cpack"
mkdir -p "$out"
rm -f "$out"/fa4tohtml_*.deb "$out"/quorvex_*.deb
mv "$dir"/cpack/*.deb "$out"/
echo "The packages are in $(pwd)/$out/:"
ls -l "$out"
