#!/usr/bin/env python3
"""Compares what each shipped binary exports with its checked-in list.

    check_exports.py [--lists DIR] [--update] BUILD_DIR

A binary's list is LISTS/<file name>.txt (default lists: scripts/exports/),
and the binary is BUILD_DIR/bin/<file name>; to check one more binary, add
an empty list for it and run --update. Every symbol that
`nm -D --defined-only` shows must be named in the list, and every name in the
list must still be exported: a new export is a decision, made by editing the
list in the same commit as the code.

A binary exports only the project's own names: one that exports a name of
the standard library's namespaces (std, __gnu_cxx: an instantiation, its
type information, a static of one of its functions) fails, listed or not,
and --update refuses to write it; such names are kept inside the binary
(cmake/hide_std_instantiations.map).

A list holds one mangled name a line, then `#` and the demangled name for the
reader; blank lines and lines starting with `#` are ignored. Mangled names,
because they are what the dynamic linker binds: a changed parameter type is a
changed export, a constructor's complete and base variants are two exports,
and the demangler's spelling of library types (ABI tags, std:: aliases) does
not move the list between compilers. --update rewrites the lists from the
binaries, for a change whose new exports are meant.

Exit status: 0 when every list matches, 1 when one does not (each difference
is printed), 2 when a list or a binary is missing or nm fails.
"""
import argparse
import re
import subprocess
import sys
from pathlib import Path

DEFAULT_LISTS = Path(__file__).resolve().parent / "exports"
# Mangled names of what namespace std or __gnu_cxx holds: functions and data
# (_ZNSt, _ZNKSt, _ZSt), type information and vtables (_ZTI, _ZTS, _ZTV,
# _ZTT), the statics of their functions (_ZZ) and their guards (_ZGV).
STANDARD_LIBRARY = re.compile(r"^_Z(?:GV|T[ISVT])?Z?N?K?(?:St|9__gnu_cxx)")


def exported(binary):
    """The mangled names `nm -D --defined-only` shows for `binary`."""
    out = subprocess.run(["nm", "-D", "--defined-only", str(binary)], capture_output=True, text=True)
    if out.returncode != 0:
        raise RuntimeError(f"nm failed on {binary}: {out.stderr.strip()}")
    names = set()
    for line in out.stdout.splitlines():
        fields = line.split(maxsplit=2)  # address, type, name
        if len(fields) == 3:
            names.add(fields[2])
    return names


def demangled(names):
    """The demangled spelling of each name, in the same order."""
    if not names:
        return []
    out = subprocess.run(["c++filt"], input="\n".join(names) + "\n", capture_output=True, text=True)
    lines = out.stdout.splitlines()
    return lines if out.returncode == 0 and len(lines) == len(names) else list(names)


def read_list(path):
    names = set()
    for line in path.read_text().splitlines():
        name = line.split("#", 1)[0].strip()
        if name:
            names.add(name)
    return names


def write_list(path, binary_name, names):
    ordered = sorted(names)
    lines = [f"# What {binary_name} exports (nm -D --defined-only), checked by scripts/check_exports.py.",
             "# A new export is a decision: add it here in the commit that makes it."]
    lines += [f"{name}  # {plain}" if plain != name else name for name, plain in zip(ordered, demangled(ordered))]
    path.write_text("\n".join(lines) + "\n")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=Path, help="the build folder (its bin/ holds the binaries)")
    parser.add_argument("--lists", type=Path, default=DEFAULT_LISTS, help="the folder of the lists")
    parser.add_argument("--update", action="store_true", help="rewrite the lists from the binaries")
    args = parser.parse_args(argv)

    lists = sorted(args.lists.glob("*.txt"))
    if not lists:
        print(f"check_exports: no lists (*.txt) in {args.lists}", file=sys.stderr)
        return 2
    failed = False
    for list_path in lists:
        name = list_path.name[: -len(".txt")]
        binary = args.build / "bin" / name
        if not binary.is_file():
            print(f"check_exports: {binary} is missing (build the project first)", file=sys.stderr)
            return 2
        try:
            actual = exported(binary)
        except (OSError, RuntimeError) as error:
            print(f"check_exports: {error}", file=sys.stderr)
            return 2
        foreign = sorted(n for n in actual if STANDARD_LIBRARY.match(n))
        if foreign:
            failed = True
            print(f"{name}: exports the standard library's names, which are not the project's to export")
            for mangled, plain in zip(foreign, demangled(foreign)):
                print(f"  standard library: {mangled}  {plain}")
            actual -= set(foreign)
            if args.update:
                continue
        if args.update:
            write_list(list_path, name, actual)
            print(f"{name}: {len(actual)} exports written to {list_path}")
            continue
        listed = read_list(list_path)
        added = sorted(actual - listed)
        removed = sorted(listed - actual)
        if not added and not removed:
            print(f"{name}: {len(actual)} exports, as listed")
            continue
        failed = True
        print(f"{name}: exports differ from {list_path}")
        for mangled, plain in zip(added, demangled(added)):
            print(f"  added (not in the list):   {mangled}  {plain}")
        for mangled, plain in zip(removed, demangled(removed)):
            print(f"  removed (listed, not exported): {mangled}  {plain}")
    if failed and args.update:
        print("Keep the standard library's names inside their binary (cmake/hide_std_instantiations.map); "
              "those lists were left as they were.")
        return 1
    if failed:
        script = Path(__file__).resolve()
        if script.is_relative_to(Path.cwd()):
            script = script.relative_to(Path.cwd())
        print("If the change is meant, update the lists and commit them with it:\n"
              f"  python3 {script} --update {args.build}\n"
              "If not, keep the symbol inside its binary (hidden visibility, a static test library).")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
