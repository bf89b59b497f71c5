#!/bin/sh
# Captures what the real gfortran writes for each case into its "input" file:
#   sh tests/data/gfortran/capture.sh
# Each case folder holds the sources and "command", the compiler's arguments. The compile
# runs in /tmp/vortan-gfortran/<case>, so the names in the captured text are the same on
# every machine. "expected" is written by hand from the input: one line per finding
# ("Kind Tool File:Line:Column: Text"), its details below it after "  | ".
set -e
here=$(cd "$(dirname "$0")" && pwd)
for case in "$here"/*/; do
  name=$(basename "$case")
  work=/tmp/vortan-gfortran/$name
  rm -rf "$work" && mkdir -p "$work" && cp "$case"/* "$work"/
  (cd "$work" && LC_ALL= LC_MESSAGES=C sh -c "gfortran $(cat command)" >input 2>&1 || true)
  cp "$work/input" "$case/input"
done
