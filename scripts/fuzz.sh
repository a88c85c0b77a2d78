#!/bin/sh
# Runs every built fuzz target for the given seconds (default 45) each,
# starting from its seed corpus in fuzz/corpus/<name>/. New inputs go to a
# scratch folder so the repository's corpus changes only by hand. A target's
# own limits, in fuzz/<name>.options (libFuzzer flags on one line), come
# after the defaults and so replace them.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-45}"
# Targets that draw lists load fontconfig, whose caches the leak checker
# cannot follow (see lsan.supp).
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
found=0
for bin in build/fuzz/bin/*_fuzz; do
  [ -x "$bin" ] || continue
  found=1
  name=$(basename "$bin" _fuzz)
  scratch=$(mktemp -d)
  seeds="fuzz/corpus/$name"
  mkdir -p "$seeds"
  echo "fuzz: $name for ${seconds}s"
  log="$scratch.log"
  options=""
  if [ -f "fuzz/$name.options" ]; then options=$(cat "fuzz/$name.options"); fi
  # shellcheck disable=SC2086 # the options are separate flags
  if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 $options -print_final_stats=1 \
      "$scratch" "$seeds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $name FAILED"
    exit 1
  fi
  tail -n 4 "$log"
  rm -rf "$scratch" "$log"
done
[ "$found" -eq 1 ] || echo "fuzz: no targets built"
