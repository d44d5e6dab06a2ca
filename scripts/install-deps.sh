#!/bin/sh
# Installs the Debian packages (Debian 12 or 13) that a job needs, and any
# further ones named as arguments (the screenshot scripts add chromium):
#
#   scripts/install-deps.sh [converter|package|all] [PACKAGE]...
#
# converter: what building fa4tohtml needs (compiler, CMake, Ninja, the JSON
#            library);
# package:   that, the window's libraries and fonts, and the tools that make
#            the Debian packages;
# all:       that, the tests, the benchmarks and the fuzz build (the default).
# Does nothing but check when everything is there already.
set -e
purpose=all
case "$1" in
  converter | package | all) purpose=$1; shift ;;
esac
packages="cmake ninja-build g++ nlohmann-json3-dev"
if [ "$purpose" != converter ]; then
  packages="$packages make pkg-config qt6-base-dev libqscintilla2-qt6-dev qt6-webengine-dev libqt6svg6 \
    fonts-liberation2 dpkg-dev file"
fi
if [ "$purpose" = all ]; then
  packages="$packages libgtest-dev libgmock-dev googletest libbenchmark-dev clang \
    xvfb xauth imagemagick time groff-base clang-format git tidy python3-html5lib"
fi

# Installs those of the packages named that are missing.
install_missing() {
  missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages:$missing (run as root to install them)" >&2
    exit 1
  fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

install_missing $packages "$@"
# The plugin that draws the window's SVG icon has a package of its own since
# Debian 13; before, the library's package held it.
if [ "$purpose" != converter ] && apt-cache show qt6-svg-plugins >/dev/null 2>&1; then
  install_missing qt6-svg-plugins
fi
# The fuzz build links clang's runtime, which is packaged per clang version:
# the one that belongs to the clang of this system.
if [ "$purpose" = all ]; then
  install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
fi
