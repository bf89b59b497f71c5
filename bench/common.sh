# The setup the start benchmarks share, sourced from the repository's root folder: the script
# runs again under a virtual X server of its own, the window waiter is built, and a scratch
# folder gets a store, a home where .f files are already associated and no language files
# exist (so no start waits for a question), and a copy of the installation tree.
# Sets BUILD_DIR, WORK (removed on exit), TREE, EXE (the copied program), MW (the waiter).
BUILD_DIR="${BUILD_DIR:-build}"
if [ -z "$INNER" ]; then
  exec env INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" "$@"
fi
mkdir -p "$BUILD_DIR/bench"
MW="$BUILD_DIR/bench/mapwait"
cc -O2 -o "$MW" bench/mapwait.c -lX11
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export VORTAN_STORE="$WORK/registry.sqlite" XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
printf '[Default Applications]\ntext/x-fortran=Vortan2.File.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"
TREE="$WORK/tree"
mkdir -p "$TREE"
cp -a "$BUILD_DIR/vortan/vortan" "$BUILD_DIR/vortan/Bin" "$BUILD_DIR/vortan/Tmp" "$TREE/"
EXE="$TREE/vortan"

median() { echo "$@" | tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
