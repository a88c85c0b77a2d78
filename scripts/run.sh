#!/bin/sh
# Builds the default preset and runs the replacement terminal with the
# plug-in. Arguments go to the terminal; the built-in demo runs unless they
# choose another run (--script, --window, --info, --help) or say --no-demo, and the
# server keeps its store in memory unless they name one with --db.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tarnterm AllowedGroups

demo=--demo
db=":memory:"
for arg in "$@"; do
  case "$arg" in
    --script|--info|--help|-h|--demo|--no-demo|--window) demo="" ;;
    --db) db="" ;;
  esac
done
# --no-demo is this script's own word: the terminal then only opens the form.
for arg in "$@"; do
  shift
  if [ "$arg" != "--no-demo" ]; then set -- "$@" "$arg"; fi
done
if [ -n "$demo" ]; then set -- "$demo" "$@"; fi
if [ -n "$db" ]; then set -- --db "$db" "$@"; fi
exec ./build/default/bin/tarnterm "$@"
