#!/bin/sh
# Builds the default preset and runs the replacement terminal with the
# plug-in; arguments go to the terminal.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tarnterm AllowedGroups
exec ./build/default/bin/tarnterm --db :memory: "$@"
