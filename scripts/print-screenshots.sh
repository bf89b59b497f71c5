#!/bin/sh
# Prints the 150-line fixture to PDF and saves page 1 as docs/screenshots/print-page1.png,
# exports it to HTML and saves headless Chromium's view as docs/screenshots/export-html.png, and
# saves the print preview at "Fit to page" and 100% in English and Portuguese, in a real X
# server (Xvfb). Usage: scripts/print-screenshots.sh [build directory]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/docs/screenshots"
VORTAN_SCREENSHOT_DIR="$root/docs/screenshots" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/print_guitests" --gtest_filter='PrintEngine.PrintsTheDefault*:HtmlExport.*:PrintPreviewTest.Texts*'
echo "saved $root/docs/screenshots/print-*.png and export-html.png"
