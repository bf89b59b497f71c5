#!/bin/sh
# Builds Vortan with the address and undefined-behaviour sanitizers in build-asan/ and runs
# the whole test suite there, end-to-end tests included (under one virtual X server when
# there is no display). Any sanitizer report fails the run. Arguments go to ctest, e.g.
#   sh scripts/test-sanitize.sh -R 'Startup|SingleInstance|RealTerminal' --repeat until-fail:10
# runs the end-to-end tests ten times over.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
BUILD_DIR="${BUILD_DIR:-build-asan}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DVORTAN_SANITIZE=ON $CMAKE_ARGS >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# A report ends the process with a failure; leaks are reported at exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Libraries that keep caches for the life of the process on purpose.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/scripts/lsan-suppressions.txt}"
# Each test gets at most 10 minutes: a hang fails the run instead of stalling it.
set -- ctest --test-dir "$BUILD_DIR" --output-on-failure -j"${JOBS:-2}" --timeout 600 "$@"
if [ -z "$DISPLAY" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
fi
exec "$@"
