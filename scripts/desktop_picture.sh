#!/bin/sh
# Builds the terminal and takes the README's picture of the desktop mode
# (docs/pictures/desktop.png): the Xvfb session test drives the terminal as a
# person would and keeps its screenshot: the form, the list below it, and the
# log along the bottom of the main window.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tarnterm AllowedGroups
python3 tests/desktop/desktop_test.py --tarnterm build/default/bin/tarnterm --screenshot docs/pictures/desktop.png
