#!/usr/bin/env python3
"""Checks that includes between folders follow the layer table.

Reads every `#include "dir/..."` (or `<dir/...>` naming a folder of the
tree) line of the .h, .hpp, .c and .cpp files below the root and maps both ends to their units (see layers.txt). Fails,
with one line for each, on an include whose edge the table does not list,
on a unit the table does not know, and on a cycle among the table's edges
(a cycle there would let the folders' includes form one).

Usage: check_layers.py [--root DIR] [--table FILE]
Exit status: 0 clean, 1 a broken rule, 2 an unreadable table.
"""
import argparse
import os
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+["<]([^">]+)[">]')
SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp"}
# Build trees, and the build's and tools' own folders, hold no layered code.
SKIPPED_DIRS = {"build", "cmake", "scripts"}


class TableError(Exception):
    pass


def read_table(path):
    """{unit: set of targets}; a target is a unit or a file path."""
    table = {}
    for number, raw in enumerate(Path(path).read_text().splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        unit, sep, targets = line.partition(":")
        unit = unit.strip()
        if not sep or not unit:
            raise TableError(f"{path}:{number}: expected 'FROM: TO ...', got {raw!r}")
        if unit in table:
            raise TableError(f"{path}:{number}: {unit} is listed twice")
        table[unit] = set(targets.split())
    return table


def unit_of(path, units):
    """The longest unit that is path or a folder above it; else the top folder."""
    parts = path.split("/")
    for n in range(len(parts), 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in units:
            return candidate
    return parts[0]


def allowed(source_unit, included, table, units):
    """True when a file of source_unit may include the repository path included."""
    target_unit = unit_of(included, units)
    if target_unit == source_unit:
        return True
    targets = table.get(source_unit, set())
    if target_unit in targets:
        return True
    return included in targets  # a single header named in the table


def find_cycle(table, units):
    """One cycle among the units' listed edges, as a list of units, or None."""
    graph = {u: {unit_of(t, units) for t in table[u]} - {u} for u in table}
    state = {}  # 1 on the current path, 2 done

    def visit(unit, path):
        state[unit] = 1
        path.append(unit)
        for nxt in sorted(graph.get(unit, ())):
            if state.get(nxt) == 1:
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path)
                if found:
                    return found
        path.pop()
        state[unit] = 2
        return None

    for unit in sorted(graph):
        if unit not in state:
            found = visit(unit, [])
            if found:
                return found
    return None


def sources(root):
    """(path below root, path) of every source, build trees and tools left out."""
    for top in sorted(p for p in root.iterdir() if p.is_dir()):
        if top.name in SKIPPED_DIRS or top.name.startswith("."):
            continue
        for folder, dirs, files in os.walk(top):
            dirs[:] = sorted(d for d in dirs if not d.startswith("."))
            for name in sorted(files):
                path = Path(folder) / name
                if path.suffix in SOURCE_SUFFIXES:
                    yield path.relative_to(root).as_posix(), path


def check(root, table):
    """The list of problems, each one line."""
    units = set(table)
    folders = {p.name for p in root.iterdir() if p.is_dir()}
    problems = []
    cycle = find_cycle(table, units)
    if cycle:
        problems.append("cycle between folders: " + " -> ".join(cycle))
    for rel, path in sources(root):
        source_unit = unit_of(rel, units)
        if source_unit not in units:
            problems.append(f"{rel}: folder {source_unit} is not in the layer table")
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            included = match.group(1)
            if "/" not in included or included.split("/", 1)[0] not in folders:
                continue  # beside the including file, or a system or library header
            if not allowed(source_unit, included, table, units):
                problems.append(f"{rel}:{number}: {source_unit} may not include {included} "
                                f"({source_unit} -> {unit_of(included, units)} is not in the layer table)")
    return problems


def main(argv):
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=here.parent)
    parser.add_argument("--table", type=Path, default=here / "layers.txt")
    args = parser.parse_args(argv)
    try:
        table = read_table(args.table)
    except (OSError, TableError) as error:
        print(f"check_layers: {error}", file=sys.stderr)
        return 2
    problems = check(args.root, table)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check_layers: {len(problems)} include(s) cross the layers the wrong way", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
