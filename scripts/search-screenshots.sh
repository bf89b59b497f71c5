#!/bin/sh
# Pictures of the Find, Replace and Go to Line dialogs in English and Portuguese, under Xvfb,
# into docs/screenshots/search/. Usage: scripts/search-screenshots.sh [build directory]
set -e
. "$(dirname "$0")/screenshot-lib.sh"
export VORTAN_SCREENSHOT_DIR="$ROOT/docs/screenshots/search"
shoot 1280x1024 editor_guitests 'SearchDialogScreenshots.*'
