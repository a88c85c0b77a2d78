#!/bin/sh
# "View Group" end to end over a store of N distinct allowed groups, beside
# what the machine needs to read the same rows:
#
#   terminal: tarnterm opens the form, clicks "View Group" and waits until the
#             list holds every group (the server stand-in reads the store and
#             builds the replies on a thread of its own, the plug-in decodes
#             and merges each);
#   baseline: sqlite3 STORE 'select * from allowed_groups' >/dev/null.
#
# SHAPE is the store's: "shaped" (the default) repeats few texts, as a store
# of one exchange's index options does (100 symbols, 104 strikes, 12
# expiries); "distinct" gives every group a symbol and a strike of its own,
# with expiries over 12,000 days, as a store of many underlyings does, so
# that the terminal's pool of texts holds a text or two per group.
#
# Each runs three times; the medians of the wall times and their ratio are
# printed, with the terminal's peak RSS and its growth over the run with an
# empty store (bytes a group). Usage: bench/view_group.sh N [SHAPE] [BUILD_DIR]
set -eu
usage="usage: view_group.sh N [shaped|distinct] [BUILD_DIR]"
n=${1:?$usage}
shape=${2:-shaped}
case $shape in
  shaped) goal_bytes=120 ;;
  distinct) goal_bytes=200 ;;
  *) echo "view_group.sh: unknown shape \"$shape\"; $usage" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${3:-$here/build/default}/bin
command -v sqlite3 >/dev/null || { echo "view_group.sh: the sqlite3 command is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[ -x "$bin/tarnterm" ] || { echo "view_group.sh: no $bin/tarnterm: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
store=$work/groups.db
empty=$work/empty.db
printf '' >"$work/nothing.script"
cat >"$work/view.script" <<'SCRIPT'
hotkey Alt+A
click "Allowed Groups" "View Group"
SCRIPT

# The terminal makes its tables; the groups then go in as one statement.
# Every group differs from every other in category, option type, expiry,
# symbol or strike (the mixed radix of i), as a real store's do.
"$bin/tarnterm" --db "$store" --home "$work/home" --script "$work/nothing.script" >/dev/null
"$bin/tarnterm" --db "$empty" --home "$work/home" --script "$work/nothing.script" >/dev/null
if [ "$shape" = shaped ]; then
  symbol="'SYM' || ((v / 96) % 100)"
  strike="CAST((v / 9600 + 1) * 5000 AS TEXT)"
  expiry="CAST(1400000000 + ((v / 8) % 12) * 2419200 AS TEXT)"
else
  symbol="'S' || v"
  strike="CAST((v + 1) * 5 AS TEXT)"
  expiry="CAST(1000000000 + (v % 12000) * 86400 AS TEXT)"
fi
sqlite3 "$store" <<SQL
DELETE FROM allowed_groups;
WITH RECURSIVE i(v) AS (SELECT 0 UNION ALL SELECT v + 1 FROM i WHERE v + 1 < $n)
INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product, side, added_by)
SELECT CASE v % 4 WHEN 0 THEN 'HNI' WHEN 1 THEN 'RETAIL' WHEN 2 THEN 'PROPRIETARY' ELSE 'INSTITUTION' END,
       'nse_fo',
       CASE WHEN (v / 96) % 100 < 3 THEN 'OPTIDX' ELSE 'OPTSTK' END,
       $symbol,
       CASE (v / 4) % 2 WHEN 0 THEN 'CE' ELSE 'PE' END,
       $strike,
       $expiry,
       CASE v % 3 WHEN 0 THEN 'NRML' ELSE NULL END,
       CASE v % 5 WHEN 0 THEN 'B' WHEN 1 THEN 'S' ELSE NULL END,
       'admin'
FROM i;
SQL
[ "$(sqlite3 "$store" 'select count(*) from allowed_groups')" -eq "$n" ] || { echo "view_group.sh: store not filled" >&2; exit 1; }

# Wall seconds and peak RSS (KiB) of one command, from GNU time when present.
measure() {
  out=$work/time.txt
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%e %M %U %S' -o "$out" "$@" >/dev/null
    cat "$out"
  else
    start=$(date +%s.%N)
    "$@" >/dev/null
    echo "$(date +%s.%N) $start" | awk '{ printf "%.3f 0 0 0\n", $1 - $2 }'
  fi
}
median() { sort -n | sed -n 2p; }

term() { measure "$bin/tarnterm" --db "$1" --home "$work/home" --script "$work/view.script"; }
base() { measure sqlite3 "$store" 'select * from allowed_groups'; }

: >"$work/t" ; : >"$work/b" ; : >"$work/r"
for _ in 1 2 3; do
  term "$store" >>"$work/t"
  base >>"$work/b"
  term "$empty" >>"$work/r"
done
cpu() { awk '{ printf "%.2f\n", $3 + $4 }' "$1" | median; }
t=$(cut -d' ' -f1 "$work/t" | median)
b=$(cut -d' ' -f1 "$work/b" | median)
rss=$(cut -d' ' -f2 "$work/t" | median)
rss0=$(cut -d' ' -f2 "$work/r" | median)
echo "groups:            $n ($shape)"
echo "load:             $(uptime | sed 's/.*load average: //') (1, 5, 15 minutes; the machine has $(nproc) cores)"
echo "terminal (median): $t s   runs: $(cut -d' ' -f1 "$work/t" | tr '\n' ' ')"
echo "sqlite3 (median):  $b s   runs: $(cut -d' ' -f1 "$work/b" | tr '\n' ' ')"
awk -v t="$t" -v b="$b" 'BEGIN { if (b > 0) printf "ratio:             %.2f (goal: at most 3)\n", t / b }'
# On a shared machine the wall time includes waiting for a core; the CPU
# time (user + system) of the same runs does not. The terminal's CPU time
# counts both its threads, which overlap in wall time.
tc=$(cpu "$work/t"); bc=$(cpu "$work/b")
awk -v t="$tc" -v b="$bc" 'BEGIN { if (b > 0) printf "cpu (median):      terminal %.2f s, sqlite3 %.2f s, ratio %.2f\n", t, b, t / b }'
awk -v a="$rss" -v z="$rss0" -v n="$n" -v g="$goal_bytes" 'BEGIN {
  if (a <= 0) exit
  printf "peak RSS:          %d KiB (%.2f GiB; goal: under 2 GiB), empty store %d KiB\n", a, a / 1048576, z
  printf "bytes a group:     %.0f (goal: at most %d)\n", (a - z) * 1024 / n, g
}'
