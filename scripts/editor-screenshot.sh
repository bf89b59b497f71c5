#!/bin/sh
# Renders an editor window with a fixed-form program (colours, guide lines, line numbers, a
# bookmark, a marked error line) in a real X server (Xvfb) and saves it as
# docs/screenshots/editor.png. Usage: scripts/editor-screenshot.sh [build directory]
set -e
. "$(dirname "$0")/screenshot-lib.sh"
mkdir -p "$ROOT/docs/screenshots"
export VORTAN_SCREENSHOT="$ROOT/docs/screenshots/editor.png"
shoot 1024x768 editor_guitests 'TScreenshot.*'
echo "saved $VORTAN_SCREENSHOT"
