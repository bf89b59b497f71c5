#!/bin/sh
# Builds Vortan with the address and undefined-behaviour sanitizers in build-asan/ and runs
# the whole test suite there. Any sanitizer report fails the run. End-to-end tests need a
# display: run this under xvfb-run -a to include them.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build-asan}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DVORTAN_SANITIZE=ON $CMAKE_ARGS >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# A report ends the process with a failure; leaks are reported at exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Qt and fontconfig keep caches for the life of the process on purpose.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/scripts/lsan-suppressions.txt}"
cd "$BUILD_DIR"
ctest --output-on-failure -j"${JOBS:-2}" --timeout 600
