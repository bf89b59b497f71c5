#!/bin/sh
# Renders the main window after an Analyze that found errors and the progress window while a
# compile runs, in a real X server (Xvfb), and saves them as docs/screenshots/pipeline-messages.png
# and docs/screenshots/progress.png. Usage: scripts/pipeline-screenshot.sh [build directory]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/docs/screenshots"
VORTAN_SCREENSHOT_DIR="$root/docs/screenshots" QT_QPA_PLATFORM=xcb \
  VORTAN_STORE=/nonexistent/dir/none.sqlite \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bin/jobs_guitests" --gtest_filter='PipelineScreenshot.*'
echo "saved $root/docs/screenshots/pipeline-messages.png and progress.png"
