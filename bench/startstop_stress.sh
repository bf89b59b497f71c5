#!/bin/sh
# Starts the IDE again and again, each start right after the previous instance was ended by
# a signal (and while it may still be ending): in turn SIGTERM, SIGKILL, SIGABRT, SIGINT and
# SIGHUP, so that stale locks, sockets and journals are met too. Some starts are on a store
# whose file was deleted with its journals left behind. Prints how many starts reached the main window, how many
# ended without one, how many hung, and the times to the window.
# RUNS (default 28) starts; TIMEOUT_MS (default 30000) before a start counts as hung.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
RUNS="${RUNS:-28}"
if [ -z "$INNER" ]; then
  exec env INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" "$@"
fi
mkdir -p "$BUILD_DIR/bench"
cc -O2 -o "$BUILD_DIR/bench/mapwait" bench/mapwait.c -lX11
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export VORTAN_STORE="$WORK/registry.sqlite" XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No language files and the association in place: no start waits for a question.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
printf '[Default Applications]\ntext/x-fortran=Vortan2.File.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"
TREE="$WORK/tree"
mkdir -p "$TREE"
cp -a "$BUILD_DIR/vortan/vortan" "$BUILD_DIR/vortan/Bin" "$BUILD_DIR/vortan/Tmp" "$TREE/"
export MAPWAIT_NO_REAP=1 MAPWAIT_TIMEOUT_MS="${TIMEOUT_MS:-30000}"

shown=0; ended=0; hung=0; times=""
for i in $(seq "$RUNS"); do
  # Every third start: the store file deleted, its journals left as the killed run left them.
  [ $((i % 3)) -eq 0 ] && rm -f "$VORTAN_STORE"
  # 15 TERM, 9 KILL, 6 ABRT, 2 INT, 1 HUP.
  export MAPWAIT_SIGNAL=$(echo "15 9 6 2 1" | cut -d' ' -f$(( (i - 1) % 5 + 1 )))
  if out=$("$BUILD_DIR/bench/mapwait" "Vortan 2.0" "$TREE/vortan" 2>"$WORK/err"); then
    shown=$((shown + 1)); times="$times ${out%% *}"
  elif grep -q "no window" "$WORK/err"; then
    hung=$((hung + 1))
  else
    ended=$((ended + 1))
  fi
done
sleep 1
median() { echo "$@" | tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
slowest() { echo "$@" | tr ' ' '\n' | grep . | sort -n | tail -1; }
echo "starts: $RUNS   main window: $shown   ended without window: $ended   hung: $hung"
[ -n "$times" ] && echo "ms to the main window: median $(median $times)   slowest $(slowest $times)"
