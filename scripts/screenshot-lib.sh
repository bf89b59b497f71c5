# Sourced by the screenshot scripts. Sets ROOT (the repository) and BUILD (the build folder:
# the script's first argument, else build/), and defines shoot, which runs a test binary's
# screenshot tests on a virtual X screen. The caller exports where the pictures go
# (VORTAN_SCREENSHOT_DIR, or VORTAN_SCREENSHOT for a single picture).
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
shoot() { # screen size (WxH), test binary, test filter
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 ${1}x24" "$BUILD/bin/$2" --gtest_filter="$3"
}
