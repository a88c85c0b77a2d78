#!/bin/sh
# Builds the default preset and runs every test.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default -j2
