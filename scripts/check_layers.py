#!/usr/bin/env python3
"""Checks that includes follow the layer table and that no includes go round.

Reads every `#include "dir/..."` (or `<dir/...>` naming a folder of the
tree, or a file beside the including one) line of the .h, .hpp, .c and .cpp
files below the root and maps both ends to their units (see layers.txt).
Fails, with one line for each, on an include whose edge the table does not
list, on a unit the table does not know, on a cycle among the table's edges
(a cycle there would let the units' includes form one), and on a circle
among files: no header may reach itself through includes, whether the
circle stays inside one unit (which the table cannot see) or not. In the
product's code (tests, testing/, bench/ and fuzz/ left out) a .h and the
.cpp of the same name beside it count as one file, so that a .cpp may not
include what includes its header either: the files of a unit form an order.

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
# A unit's tests: nothing includes them, so they close no circle; a table
# line "UNIT tests: TO ..." lets them see more than the unit's code may.
TEST_SUFFIX = "_test"
TESTS_KEY = " tests"
# "UNIT allowance: TO ...": edges that run the wrong way today and are to go;
# admitted, left out of the cycle check, and counted on every run.
ALLOWANCE_KEY = " allowance"
QUALIFIERS = (TESTS_KEY, ALLOWANCE_KEY)


class TableError(Exception):
    pass


def read_table(path):
    """{unit: set of targets}; a target is a unit or a file path. Test and
    allowance lines are kept under "UNIT tests" and "UNIT allowance"."""
    table = {}
    for number, raw in enumerate(Path(path).read_text().splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        unit, sep, targets = line.partition(":")
        unit = " ".join(unit.split())
        if not sep or not unit or (" " in unit and not unit.endswith(QUALIFIERS)) or unit.count(" ") > 1:
            raise TableError(f"{path}:{number}: expected 'FROM: TO ...', 'FROM tests: TO ...' or "
                             f"'FROM allowance: TO ...', got {raw!r}")
        if unit in table:
            raise TableError(f"{path}:{number}: {unit} is listed twice")
        table[unit] = set(targets.split())
    return table


def unit_names(table):
    return {u for u in table if " " not in u}


def unit_of(path, units):
    """The longest unit that is path or a folder above it; else the top folder."""
    parts = path.split("/")
    for n in range(len(parts), 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in units:
            return candidate
    return parts[0]


def beneath(inner, outer):
    return inner.startswith(outer + "/")


def is_file_target(target):
    return Path(target).suffix in SOURCE_SUFFIXES


def edges_of(unit, table, units, tests=False, allowance=False):
    """The targets unit may include: its own line, its tests' and allowance
    lines when asked, and what the units above it (its enclosing folders)
    may include outside themselves: a sub-unit keeps its folder's outward
    edges."""
    targets = set(table.get(unit, set()))
    if tests:
        targets |= table.get(unit + TESTS_KEY, set())
    if allowance:
        targets |= table.get(unit + ALLOWANCE_KEY, set())
    parts = unit.split("/")
    for n in range(len(parts) - 1, 0, -1):
        outer = "/".join(parts[:n])
        if outer in units:
            targets |= {t for t in table[outer] if t != outer and not beneath(t, outer)}
    return targets


def listed_reach(table, units):
    """unit -> every unit its listed edges reach, directly or through others
    (an edge naming a folder counts as one to that folder only)."""
    direct = {u: {unit_of(t, units) for t in edges_of(u, table, units)} - {u} for u in units}
    reach = {}
    for unit in units:
        seen, todo = set(), list(direct[unit])
        while todo:
            nxt = todo.pop()
            if nxt not in seen:
                seen.add(nxt)
                todo.extend(direct.get(nxt, ()))
        reach[unit] = seen
    return reach


def admits(source_unit, target, included, target_unit, reach):
    """True when the table's target lets source_unit include the path included.
    An edge to a folder admits its sub-units too, except those listed above
    source_unit (plugin/entry is not admitted by an edge to plugin from a unit
    it includes), and except from inside that folder, where the edge names
    the folder's own files only."""
    if is_file_target(target):
        return included == target
    if target_unit == target:
        return True
    inside = source_unit == target or beneath(source_unit, target)
    above = source_unit in reach.get(target_unit, ())
    return beneath(target_unit, target) and not inside and not above


def allowed(source_unit, included, table, units, reach, tests=False):
    """True when a file of source_unit may include the repository path included."""
    target_unit = unit_of(included, units)
    if target_unit == source_unit:
        return True
    return any(admits(source_unit, t, included, target_unit, reach)
               for t in edges_of(source_unit, table, units, tests, allowance=True))


def unit_graph(table, units, reach):
    """unit -> the units its listed edges admit (tests' lines left out)."""
    graph = {}
    for unit in units:
        admitted = set()
        for target in edges_of(unit, table, units):
            if is_file_target(target):
                admitted.add(unit_of(target, units))
                continue
            admitted |= {u for u in units | {target} if admits(unit, target, u + "/x.h", u, reach)}
        graph[unit] = admitted - {unit}
    return graph


def find_cycle(graph):
    """One cycle of graph (node -> set of nodes), as a list of nodes, or None."""
    state = {}  # 1 on the current path, 2 done

    def visit(node, path):
        state[node] = 1
        path.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path)
                if found:
                    return found
        path.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [])
            if found:
                return found
    return None


def strongly_connected(graph):
    """The components of graph with more than one node (Tarjan, iterative)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for root in sorted(graph):
        if root in index:
            continue
        work = [(root, iter(sorted(graph.get(root, ()))))]
        index[root] = low[root] = counter
        counter += 1
        stack.append(root)
        on_stack.add(root)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                members = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    members.append(member)
                    if member == node:
                        break
                if len(members) > 1:
                    found.append(sorted(members))
    return found


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


# Folders of code that is not the product's: helpers for tests, benchmarks
# and fuzz targets may close circles with their pairs (nothing ships them).
NOT_PRODUCT_DIRS = {"tests", "testing", "bench", "fuzz", "third_party"}
PAIRED_SUFFIXES = {".h", ".cpp"}


def is_product(rel):
    parts = rel.split("/")
    return not is_test(rel) and not NOT_PRODUCT_DIRS.intersection(parts[:-1])


def component(rel):
    """The node of the file graph a file stands for: for the product's .h and
    .cpp files the pair of that name (the path without its suffix, as
    "platform/gdi/cdc"), else the file itself."""
    path = Path(rel)
    if path.suffix in PAIRED_SUFFIXES and is_product(rel):
        return path.with_suffix("").as_posix()
    return rel


def describe_ring(ring, links):
    """The files along a ring of components. A ring of headers reads
    "a.h -> b.h -> a.h"; where a step leaves a pair by its other file, each
    step is named "X includes Y"."""
    steps = []
    for here, there in zip(ring, ring[1:]):
        choices = sorted(links[(here, there)])
        previous = steps[-1][1] if steps else None
        steps.append(next((c for c in choices if c[0] == previous), choices[0]))
    if all(a[1] == b[0] for a, b in zip(steps, steps[1:] + steps[:1])):
        return " -> ".join([steps[0][0]] + [included for _, included in steps])
    return "; ".join(f"{source} includes {included}" for source, included in steps)


def is_test(rel):
    return Path(rel).stem.endswith(TEST_SUFFIX)


def check(root, table):
    """The list of problems, each one line."""
    units = unit_names(table)
    folders = {p.name for p in root.iterdir() if p.is_dir()}
    problems = []
    for key in sorted(table):
        if " " in key and key.split(" ")[0] not in units:
            problems.append(f"{key}: {key.split(' ')[0]} is not a unit of the layer table")
    reach = listed_reach(table, units)
    cycle = find_cycle(unit_graph(table, units, reach))
    if cycle:
        problems.append("cycle between units: " + " -> ".join(cycle))
    files = dict(sources(root))
    components = {}  # component -> components it includes (tests left out)
    links = {}  # (component, component) -> {(file, included file)} behind that edge
    for rel, path in files.items():
        source_unit = unit_of(rel, units)
        if source_unit not in units:
            problems.append(f"{rel}: folder {source_unit} is not in the layer table")
            continue
        test = is_test(rel)
        node = component(rel)
        includes = components.setdefault(node, set()) if not test else set()

        def include(target):
            if component(target) != node:  # a .cpp including its own header
                includes.add(component(target))
                links.setdefault((node, component(target)), set()).add((rel, target))

        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            included = match.group(1)
            beside = (Path(rel).parent / included).as_posix()
            if beside in files:
                include(beside)
                continue
            if "/" not in included or included.split("/", 1)[0] not in folders:
                continue  # a system or library header
            if included in files:
                include(included)
            if not allowed(source_unit, included, table, units, reach, test):
                problems.append(f"{rel}:{number}: {source_unit} may not include {included} "
                                f"({source_unit} -> {unit_of(included, units)} is not in the layer table)")
    for members in strongly_connected(components):
        ring = find_cycle({m: components[m] & set(members) for m in members})
        where = {unit_of(m, units) for m in members}
        kind = f"inside {where.pop()}" if len(where) == 1 else "between units"
        problems.append(f"circle of includes {kind}: " + describe_ring(ring, links))
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
    allowances = sorted(k for k in table if k.endswith(ALLOWANCE_KEY))
    if allowances:
        edges = sum(len(table[k]) for k in allowances)
        print(f"check_layers: {edges} wrong-way edge(s) still allowed ({', '.join(allowances)})")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check_layers: {len(problems)} problem(s): includes across the layers the wrong way "
              f"or round a circle", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
