#!/bin/sh
# Starts the IDE again and again, each start right after the previous instance was ended by
# a signal (and while it may still be ending): in turn SIGTERM, SIGKILL, SIGABRT, SIGINT and
# SIGHUP, so that stale locks, sockets and journals are met too. Some starts are on a store
# whose file was deleted with its journals left behind. Prints how many starts reached the
# main window, how many ended without one, how many hung, and the times to the window.
# RUNS (default 28) starts; TIMEOUT_MS (default 30000) before a start counts as hung.
set -e
cd "$(dirname "$0")/.."
RUNS="${RUNS:-28}"
. bench/common.sh
export MAPWAIT_NO_REAP=1 MAPWAIT_TIMEOUT_MS="${TIMEOUT_MS:-30000}"

shown=0; ended=0; hung=0; times=""
for i in $(seq "$RUNS"); do
  # Every third start: the store file deleted, its journals left as the killed run left them.
  [ $((i % 3)) -eq 0 ] && rm -f "$VORTAN_STORE"
  # 15 TERM, 9 KILL, 6 ABRT, 2 INT, 1 HUP.
  export MAPWAIT_SIGNAL=$(echo "15 9 6 2 1" | cut -d' ' -f$(( (i - 1) % 5 + 1 )))
  if out=$("$MW" "Vortan 2.0" "$EXE" 2>"$WORK/err"); then
    shown=$((shown + 1)); times="$times ${out%% *}"
  elif grep -q "no window" "$WORK/err"; then
    hung=$((hung + 1))
  else
    ended=$((ended + 1))
  fi
done
sleep 1
slowest() { echo "$@" | tr ' ' '\n' | grep . | sort -n | tail -1; }
echo "starts: $RUNS   main window: $shown   ended without window: $ended   hung: $hung"
[ -n "$times" ] && echo "ms to the main window: median $(median $times)   slowest $(slowest $times)"
