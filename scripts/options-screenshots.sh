#!/bin/sh
# Pictures of every Options page in English and Portuguese, under Xvfb, into
# docs/screenshots/options/. Usage: scripts/options-screenshots.sh [build directory]
set -e
. "$(dirname "$0")/screenshot-lib.sh"
export VORTAN_SCREENSHOT_DIR="$ROOT/docs/screenshots/options"
shoot 1280x1024 options_guitests 'OptionsScreenshots.*'
