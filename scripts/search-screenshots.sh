#!/bin/sh
# Pictures of the Find, Replace and Go to Line dialogs in English and Portuguese, under Xvfb,
# into docs/screenshots/search/.
set -e
cd "$(dirname "$0")/.."
VORTAN_SCREENSHOT_DIR="$PWD/docs/screenshots/search" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/editor_guitests --gtest_filter='SearchDialogScreenshots.*'
