#!/bin/sh
# Shows the desktop program on a virtual screen with a sample document and
# takes a picture of each of its three pages, for the README:
# docs/screenshots/preferences.png, converted-text.png and help.png; and
# preview-and-chromium.png, the preview beside Chromium showing the same
# HTML in a window of the preview's size.
#
#   scripts/screenshots.sh [BUILD-FOLDER [DOCUMENT]]
#
# BUILD-FOLDER defaults to build/ (it must hold app/quorvex-tour and
# cli/fa4tohtml), DOCUMENT to examples/bericht.fa4. Needs xvfb-run,
# ImageMagick and chromium.
set -e
cd "$(dirname "$0")/.."

if [ "$1" = "--on-virtual-screen" ]; then
  tour=$2
  document=$3
  converter=$4
  out=docs/screenshots
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # page, width of the line list, picture
  for shot in "preferences 0 preferences" "text 330 converted-text" "help 0 help" "text 0 preview"; do
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
    if [ "$3" = preview ]; then
      import -window root -crop "$(sed -n 2p "$geometry")" +repage "$work/preview.png"
    else
      import -window root -crop "$(sed -n 1p "$geometry")" +repage "$out/$3.png"
      echo "$out/$3.png"
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done

  # The same HTML in Chromium, in a window as large as the preview was.
  size=$(sed -n 2p "$work/preview.geometry" | sed 's/+.*//; s/x/,/')
  "$converter" -o "$work/page.html" "$document"
  mkdir "$work/profile"
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" \
    --screenshot="$work/chromium.png" --window-size="$size" "file://$work/page.html" \
    >"$work/chromium.log" 2>&1 || { cat "$work/chromium.log" >&2; exit 1; }
  convert "$work/preview.png" "$work/chromium.png" -bordercolor gray60 -border 1 \
    -background white -splice 12x0 +append -chop 12x0 "$out/preview-and-chromium.png"
  echo "$out/preview-and-chromium.png"
  exit 0
fi

build=${1:-build}
document=${2:-examples/bericht.fa4}
tour="$build/app/quorvex-tour"
converter="$build/cli/fa4tohtml"
for program in "$tour" "$converter"; do
  if [ ! -x "$program" ]; then
    echo "screenshots: $program is not built (cmake --build $build)" >&2
    exit 1
  fi
done
scripts/install-deps.sh chromium
if [ ! -f "$document" ]; then
  echo "screenshots: no document $document" >&2
  exit 1
fi
mkdir -p docs/screenshots
# The engine's sandbox cannot start as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-virtual-screen "$tour" "$document" "$converter"
