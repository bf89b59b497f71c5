#!/bin/sh
# Sets up everything on a fresh Debian 12 machine and starts the IDE.
# Arguments are passed to the IDE (files to open, or a switch such as /l).
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
exec build/vortan/vortan "$@"
