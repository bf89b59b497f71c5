#!/bin/sh
# Installs the Debian 12 packages Vortan needs to build, run and test. Idempotent: when every
# package is present it does nothing.
set -e
PACKAGES="cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqscintilla2-qt6-dev libgl-dev libsqlite3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  ftnchek gfortran gdb xterm xvfb xauth x11-utils libx11-dev
  desktop-file-utils xdg-utils fonts-dejavu-core
  libfile-mimeinfo-perl libglib2.0-bin shared-mime-info
  poppler-utils libxml2-utils unrtf
  groff
  chromium"
# groff: its HTML output lays out the GNU Fortran and gdb manual pages in Doc/ at build time.
# chromium (tests and screenshots only): renders the help pages headless to look at them.

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
