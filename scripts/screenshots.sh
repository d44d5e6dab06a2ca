#!/bin/sh
# Shows the desktop program on a virtual screen with a sample document and
# takes a picture of each of its three pages, for the README:
# docs/screenshots/preferences.png, converted-text.png and help.png.
#
#   scripts/screenshots.sh [BUILD-FOLDER [DOCUMENT]]
#
# BUILD-FOLDER defaults to build/ (it must hold app/quorvex-tour), DOCUMENT
# to examples/bericht.fa4. Needs xvfb-run and ImageMagick's import.
set -e
cd "$(dirname "$0")/.."

if [ "$1" = "--on-virtual-screen" ]; then
  tour=$2
  document=$3
  out=docs/screenshots
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # page, width of the line list, picture
  for shot in "preferences 0 preferences" "text 330 converted-text" "help 0 help"; do
    set -- $shot
    geometry="$work/$3.geometry"
    "$tour" "$1" "$2" "$geometry" "$document" 2>"$work/$3.log" &
    pid=$!
    waited=0
    while [ ! -s "$geometry" ]; do
      if ! kill -0 "$pid" 2>/dev/null || [ "$waited" -ge 200 ]; then
        echo "screenshots: the window for $3 did not come up" >&2
        cat "$work/$3.log" >&2
        exit 1
      fi
      sleep 0.1
      waited=$((waited + 1))
    done
    import -window root -crop "$(cat "$geometry")" +repage "$out/$3.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$out/$3.png"
  done
  exit 0
fi

build=${1:-build}
document=${2:-examples/bericht.fa4}
tour="$build/app/quorvex-tour"
if [ ! -x "$tour" ]; then
  echo "screenshots: $tour is not built (cmake --build $build --target quorvex-tour)" >&2
  exit 1
fi
if [ ! -f "$document" ]; then
  echo "screenshots: no document $document" >&2
  exit 1
fi
mkdir -p docs/screenshots
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-virtual-screen "$tour" "$document"
