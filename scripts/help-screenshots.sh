#!/bin/sh
# Takes the pictures of the user's manual again and renders both help pages for a look:
#   1. the editor and pipeline screenshots (Xvfb, the project's own screenshot scripts), copied
#      into resources/doc/images/ where the manual takes them from;
#   2. the installation tree laid out again, so the pages there show the new pictures;
#   3. Vortan2.html and Tutorial.html rendered by headless Chromium into
#      docs/screenshots/help-manual.png and docs/screenshots/help-tutorial.png.
# Usage: scripts/help-screenshots.sh [build directory]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
sh "$root/scripts/editor-screenshot.sh" "$build"
sh "$root/scripts/pipeline-screenshot.sh" "$build"
mkdir -p "$root/resources/doc/images"
for f in editor pipeline-messages progress; do
  cp "$root/docs/screenshots/$f.png" "$root/resources/doc/images/$f.png"
done
cmake --build "$build" --target install_tree

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
shoot() { # page, picture, window size
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
    --user-data-dir="$profile" --window-size="$3" --screenshot="$2" "$1" 2>/dev/null
  echo "saved $2"
}
tree="$build/vortan"
shoot "file://$tree/Vortan2.html" "$root/docs/screenshots/help-manual.png" 1366,2400
shoot "file://$tree/Tutorial.html" "$root/docs/screenshots/help-tutorial.png" 1366,2400
