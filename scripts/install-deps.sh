#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, and any
# further ones named as arguments (the screenshot scripts add chromium).
# Does nothing but check when everything is there already.
set -e
packages="cmake ninja-build g++ make pkg-config qt6-base-dev libqscintilla2-qt6-dev qt6-webengine-dev libqt6svg6 \
  libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev \
  xvfb xauth imagemagick time groff-base clang-format tidy python3-html5lib $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages:$missing (run as root to install them)" >&2
    exit 1
  fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
