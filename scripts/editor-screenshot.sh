#!/bin/sh
# Renders an editor window with a fixed-form program (colours, guide lines, line numbers, a
# bookmark, a marked error line) in a real X server (Xvfb) and saves it as
# docs/screenshots/editor.png. Usage: scripts/editor-screenshot.sh [build directory]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/docs/screenshots"
VORTAN_SCREENSHOT="$root/docs/screenshots/editor.png" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/bin/editor_guitests" --gtest_filter='TScreenshot.*'
echo "saved $root/docs/screenshots/editor.png"
