#!/bin/sh
# Renders the main window after an Analyze that found errors and the progress window while a
# compile runs, in a real X server (Xvfb), and saves them as docs/screenshots/pipeline-messages.png
# and docs/screenshots/progress.png. Usage: scripts/pipeline-screenshot.sh [build directory]
set -e
. "$(dirname "$0")/screenshot-lib.sh"
mkdir -p "$ROOT/docs/screenshots"
export VORTAN_SCREENSHOT_DIR="$ROOT/docs/screenshots" VORTAN_STORE=/nonexistent/dir/none.sqlite
shoot 1280x1024 jobs_guitests 'PipelineScreenshot.*'
echo "saved $ROOT/docs/screenshots/pipeline-messages.png and progress.png"
