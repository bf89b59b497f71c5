#!/bin/sh
# Prints the 150-line fixture to PDF and saves page 1 as docs/screenshots/print-page1.png,
# exports it to HTML and saves headless Chromium's view as docs/screenshots/export-html.png, and
# saves the print preview at "Fit to page" and 100% in English and Portuguese, and the print
# dialog that Ctrl+P opens in the running program as docs/screenshots/print-dialog.png, in a
# real X server (Xvfb). Usage: scripts/print-screenshots.sh [build directory]
set -e
. "$(dirname "$0")/screenshot-lib.sh"
mkdir -p "$ROOT/docs/screenshots"
export VORTAN_SCREENSHOT_DIR="$ROOT/docs/screenshots"
shoot 1280x800 print_guitests 'PrintEngine.PrintsTheDefault*:HtmlExport.*:PrintPreviewTest.Texts*'
shoot 1280x800 app_guitests 'PrintingTest.*'
echo "saved $ROOT/docs/screenshots/print-*.png and export-html.png"
