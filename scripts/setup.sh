#!/bin/sh
# Installs what the project builds and tests with, from Debian's packages
# (fonts, cairo and pango draw the windows; Xvfb and xdotool drive the desktop
# mode's test; libxlsxwriter writes the lists' spreadsheets; the sqlite3
# command is bench/view_group.sh's baseline). Idempotent:
# packages already present are skipped, and nothing is asked when all are.
set -eu

PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev \
libgtest-dev libgmock-dev libbenchmark-dev \
zlib1g-dev libssl-dev libzstd-dev libsqlite3-dev sqlite3 libxlsxwriter-dev \
libfontconfig-dev libcairo2-dev libpango1.0-dev fonts-dejavu-core \
libx11-dev xvfb xdotool x11-apps"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
