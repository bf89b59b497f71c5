#!/bin/sh
# Installs the Debian 12 packages Vortan needs to build, run and test. Idempotent: when every
# package is present it does nothing.
set -e
# To build: compiler, CMake, Qt 6 (widgets, SVG icons, printing), QScintilla (the text
# control), SQLite (the settings store); clang-format checks that the code keeps its style.
BUILD="cmake g++ make pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqscintilla2-qt6-dev libgl-dev libsqlite3-dev
  groff"
# groff: its HTML output lays out the GNU Fortran and gdb manual pages at build time.

# To run: the tools behind Analyze, Compile and Debug, a terminal for running programs, the
# desktop's file opener and MIME database (help pages, .f association), a fixed-pitch font.
RUN="ftnchek gfortran gdb xterm findent
  desktop-file-utils xdg-utils shared-mime-info libfile-mimeinfo-perl libglib2.0-bin
  fonts-dejavu-core"

# To test: GoogleTest and Google Benchmark; a virtual X server, X tools and the X test extension
# (keys pressed as the keyboard presses them) for the end-to-end tests, xdotool and xwd with
# netpbm for driving the program by hand and taking pictures; PDF, HTML and RTF readers that
# check printing and export; chromium renders the help pages headless for their screenshots.
TEST="googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils libx11-dev libxtst-dev xdotool x11-apps netpbm
  poppler-utils libxml2-utils unrtf
  chromium"

PACKAGES="$BUILD $RUN $TEST"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
