#!/bin/sh
# Time from launch to the main window shown, on a first start (empty store) and on later
# starts, and the peak memory of the process. Runs under its own virtual X server.
set -e
cd "$(dirname "$0")/.."
RUNS="${RUNS:-5}"
. bench/common.sh

# The splash window has its own title, so this waits for the main window.
first=""; later=""; peak=0
for i in $(seq "$RUNS"); do
  rm -f "$VORTAN_STORE" "$VORTAN_STORE"-wal "$VORTAN_STORE"-shm
  set -- $("$MW" "Vortan 2.0" "$EXE")
  first="$first $1"; [ "$2" -gt "$peak" ] && peak=$2
  set -- $("$MW" "Vortan 2.0" "$EXE")
  later="$later $1"; [ "$2" -gt "$peak" ] && peak=$2
done
echo "first start (empty store):  median $(median $first) ms   runs:$first"
echo "later start:                median $(median $later) ms   runs:$later"
echo "peak memory (max RSS):      $((peak / 1024)) MiB"
