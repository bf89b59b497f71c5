#!/bin/sh
# Sets up everything on a fresh Debian 12 machine, builds, and runs every test.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
BUILD_DIR="${BUILD_DIR:-build}"
# End-to-end tests need a display: give the whole run one virtual X server.
if [ -z "$DISPLAY" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300
fi
exec ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 300
