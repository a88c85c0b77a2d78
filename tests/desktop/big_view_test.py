#!/usr/bin/env python3
"""A million groups in the desktop mode, on a private X server (Xvfb).

Runs only with AG_BIG_TESTS=1 (skipped, status 77, otherwise or without
Xvfb). Fills a store with 1,000,000 groups whose symbols and strikes all
differ, starts `tarnterm --window`, opens the View Allowed Group list and
waits until it holds every group; then, as a person would:

  - a click on the "Strike Price" caption sorts the list and repaints it
    within 1 s (until the terminal has drawn the window again, which it
    says by rewriting its window map; the rows on the screen must differ);
  - Enter in the Category column's filter box after typing HNI refilters
    the list to HNI's 250,000 groups within 0.3 s.

Times run from just before xdotool sends the input to the moment the
window map shows the result; both include xdotool's start.
"""
import argparse
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop_test as dt  # noqa: E402

GROUPS = 1_000_000
SORT_SECONDS = 1.0
FILTER_SECONDS = 0.3


def fill_store(tarnterm, folder, store):
    """The terminal makes the tables; the groups go in as one statement."""
    empty = os.path.join(folder, "nothing.script")
    open(empty, "w").close()
    subprocess.run([tarnterm, "--db", store, "--home", folder, "--script", empty], check=True,
                   stdout=subprocess.DEVNULL, timeout=60)
    with sqlite3.connect(store) as db:
        db.execute("DELETE FROM allowed_groups")
        db.execute(
            "WITH RECURSIVE i(v) AS (SELECT 0 UNION ALL SELECT v + 1 FROM i WHERE v + 1 < ?)"
            " INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry,"
            " product, side, added_by)"
            " SELECT CASE v % 4 WHEN 0 THEN 'HNI' WHEN 1 THEN 'RETAIL' WHEN 2 THEN 'PROPRIETARY' ELSE 'INSTITUTION' END,"
            " 'nse_fo', 'OPTSTK', 'S' || v, CASE v % 2 WHEN 0 THEN 'CE' ELSE 'PE' END, CAST((v + 1) * 5 AS TEXT),"
            " CAST(1000000000 + (v % 12000) * 86400 AS TEXT), NULL, NULL, 'admin' FROM i", (GROUPS,))


def map_stamp(desktop):
    """Changes whenever the terminal rewrites its window map (after it drew)."""
    try:
        s = os.stat(desktop.map_path)
        return (s.st_ino, s.st_mtime_ns)
    except FileNotFoundError:
        return None


def settle(desktop, quiet=0.5, seconds=dt.STEP_SECONDS):
    """Waits until the map has not been rewritten for `quiet` seconds."""
    deadline = time.monotonic() + seconds
    stamp, since = map_stamp(desktop), time.monotonic()
    while time.monotonic() - since < quiet:
        if time.monotonic() > deadline:
            raise dt.Failure("the terminal kept redrawing")
        time.sleep(0.02)
        now = map_stamp(desktop)
        if now != stamp:
            stamp, since = now, time.monotonic()


def timed(what, act, done, limit):
    """Runs act(), then polls done() until true; fails past `limit` seconds."""
    start = time.monotonic()
    act()
    while not done():
        if time.monotonic() - start > max(limit, dt.STEP_SECONDS):
            raise dt.Failure("%s: nothing after %d s" % (what, dt.STEP_SECONDS))
        time.sleep(0.005)
    elapsed = time.monotonic() - start
    print("%s: %.3f s (limit %.1f s)" % (what, elapsed, limit))
    if elapsed > limit:
        raise dt.Failure("%s took %.3f s, more than %.1f s" % (what, elapsed, limit))


def rows_pixels(desktop, listed):
    """The screen's pixels of the list's first rows."""
    width, height, at = dt.screen(desktop)
    left, top, right, bottom = listed["rect"]
    return [at(x, y) for y in range(top + 40, min(bottom, top + 120), 3) for x in range(left + 5, right - 20, 7)]


def run(args):
    xvfb, display = dt.start_xvfb(args.first_display)
    folder = tempfile.mkdtemp(prefix="big-view-test-")
    desktop = None
    try:
        store = os.path.join(folder, "store.db")
        fill_store(args.tarnterm, folder, store)
        desktop = dt.Desktop(display, folder, args.tarnterm)
        dt.wait_for("the terminal and its form", lambda: desktop.check_alive() or desktop.top("Allowed Groups"))
        desktop.press("View Group")
        listed = dt.wait_for("the list of every group", lambda: desktop.control(
            "View Allowed Group", lambda w: w["class"] == "SysListView32" and w["extra"].get("rows") == str(GROUPS)),
            seconds=300)

        # Sort: the pointer rests on the caption first, so that only the click is timed.
        left, top, right, bottom = dt.header_item(desktop, "Strike Price")
        desktop.xdotool("mousemove", (left + right) // 2, top + 4)
        settle(desktop)
        before, stamp = rows_pixels(desktop, listed), map_stamp(desktop)
        timed("sort by a header click, repainted", lambda: desktop.xdotool("click", 1),
              lambda: map_stamp(desktop) != stamp, SORT_SECONDS)
        settle(desktop)
        if rows_pixels(desktop, listed) == before:
            raise dt.Failure("the rows on the screen did not change with the sort")

        # Filter: type into the Category column's box, then Enter commits it
        # at once, well before the box's own timeout (half a second after
        # the last key) would.
        left, top, right, bottom = dt.header_item(desktop, "Category")
        desktop.click((left + right) // 2, bottom - 5)
        settle(desktop)
        desktop.xdotool("type", "--delay", 10, "HNI")
        if dt.group_list(desktop)["extra"].get("rows") != str(GROUPS):
            raise dt.Failure("the list filtered before Enter")
        timed("refilter on Enter", lambda: desktop.xdotool("key", "Return"),
              lambda: dt.group_list(desktop)["extra"].get("rows") == str(GROUPS // 4), FILTER_SECONDS)
        return 0
    finally:
        if desktop is not None:
            dt.stop(desktop.process)
        dt.stop(xvfb)
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tarnterm", required=True)
    parser.add_argument("--first-display", type=int, default=140, help="the first X display number to try")
    args = parser.parse_args()
    if os.environ.get("AG_BIG_TESTS") != "1":
        print("SKIP: set AG_BIG_TESTS=1 to run")
        return dt.SKIP
    if shutil.which("Xvfb") is None or shutil.which("xdotool") is None or shutil.which("xwd") is None:
        print("SKIP: Xvfb, xdotool or xwd is missing (scripts/setup.sh installs them)")
        return dt.SKIP
    try:
        return run(args)
    except dt.Failure as failure:
        print("FAIL: %s" % failure)
        return 1


if __name__ == "__main__":
    sys.exit(main())
