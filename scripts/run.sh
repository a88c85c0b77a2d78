#!/bin/sh
# Builds the default preset and runs the replacement terminal with the
# plug-in; arguments go to the terminal (default: the built-in demo).
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tarnterm AllowedGroups
if [ "$#" -eq 0 ]; then set -- --demo; fi
exec ./build/default/bin/tarnterm --db :memory: "$@"
