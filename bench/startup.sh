#!/bin/sh
# Time from launch to the main window shown, on a first start (empty store) and on later
# starts, and the peak memory of the process. Runs under its own virtual X server.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
RUNS="${RUNS:-5}"
if [ -z "$INNER" ]; then
  exec env INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" "$@"
fi
mkdir -p "$BUILD_DIR/bench"
cc -O2 -o "$BUILD_DIR/bench/mapwait" bench/mapwait.c -lX11
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export VORTAN_STORE="$WORK/registry.sqlite" XDG_RUNTIME_DIR="$WORK"
chmod 700 "$WORK"
# A first start asks questions when language files exist (the language selector) or when .f
# files are not yet associated. The measured start has no language files and finds the
# association in place, so nothing waits for a user.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
printf '[Default Applications]\ntext/x-fortran=Vortan2.File.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"
TREE="$WORK/tree"
mkdir -p "$TREE"
cp -a "$BUILD_DIR/vortan/vortan" "$BUILD_DIR/vortan/Bin" "$BUILD_DIR/vortan/Tmp" "$TREE/"
EXE="$TREE/vortan"
MW="$BUILD_DIR/bench/mapwait"

# The splash window has its own title, so this waits for the main window.
first=""; later=""; peak=0
for i in $(seq "$RUNS"); do
  rm -f "$VORTAN_STORE" "$VORTAN_STORE"-wal "$VORTAN_STORE"-shm
  set -- $("$MW" "Vortan 2.0" "$EXE")
  first="$first $1"; [ "$2" -gt "$peak" ] && peak=$2
  set -- $("$MW" "Vortan 2.0" "$EXE")
  later="$later $1"; [ "$2" -gt "$peak" ] && peak=$2
done
median() { echo "$@" | tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "first start (empty store):  median $(median $first) ms   runs:$first"
echo "later start:                median $(median $later) ms   runs:$later"
echo "peak memory (max RSS):      $((peak / 1024)) MiB"
