#!/bin/sh
# Installs what the project builds and tests with, from Debian's packages
# (fonts, cairo and pango draw the windows, libdeflate packs their PNGs;
# Xvfb, xdotool, xwininfo and xclip drive the desktop mode's test; Abseil's hash tables
# hold the group texts, the groups' index and the window registry;
# libxlsxwriter writes the lists' spreadsheets, libzip and libxml2 read them
# back for scripts and tests; the sqlite3 command is bench/view_group.sh's
# baseline; dpkg-dev, file, lintian and desktop-file-utils build and check the
# Debian package, groff checks the manual page). Idempotent:
# packages already present are skipped, and nothing is asked when all are.
# It prints one line per step; apt's output only when a step fails.
set -eu

PACKAGES="cmake ninja-build g++ clang lld libclang-rt-14-dev \
libgtest-dev libgmock-dev libbenchmark-dev libabsl-dev \
zlib1g-dev libdeflate-dev libssl-dev libzstd-dev libsqlite3-dev sqlite3 libxlsxwriter-dev libzip-dev libxml2-dev \
libfontconfig-dev libcairo2-dev libpango1.0-dev fonts-dejavu-core \
libx11-dev xvfb xdotool x11-apps x11-utils xclip \
dpkg-dev file lintian desktop-file-utils groff-base"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

# One line per step; the package manager's own output is kept in a log and
# shown only when the step fails.
step() {
  what="$1"
  shift
  echo "setup: $what"
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "setup: FAILED: $what" >&2
    exit 1
  fi
  rm -f "$log"
}

if [ -n "$missing" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  step "updating the package lists" $SUDO apt-get update -q
  step "installing$missing" $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends $missing
fi
