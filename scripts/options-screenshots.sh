#!/bin/sh
# Pictures of every Options page in English and Portuguese, under Xvfb, into
# docs/screenshots/options/.
set -e
cd "$(dirname "$0")/.."
VORTAN_SCREENSHOT_DIR="$PWD/docs/screenshots/options" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/options_guitests --gtest_filter='OptionsScreenshots.*'
