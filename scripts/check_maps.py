#!/usr/bin/env python3
"""Checks that every project file a comment or a README names exists.

Reads the comments of the C and C++ sources (// and /* */), the `#` comments
of the Python, shell, CMake and script files and of the layer table, and the
whole text of the Markdown files, and picks out what looks like a file name:

- a path with a folder and a known extension (`platform/comctl/list_view.h`,
  `testing/reset_layers.h`) names a project file when its folder is a folder
  of the tree or the end of one (`testing` is the end of `platform/testing`);
  it must then be a file of the tree or the end of one. A folder that is no
  folder of the tree (`gtest/gtest.h`, `DIR/001-x.png`) names something
  else, and is left alone;
- a bare source or script name (`list_view_model.cpp`, `setup.sh`) must be
  the name of a file somewhere in the tree, or of a header of the system
  (`zlib.h` is found in /usr/include or a folder of it).

Patterns are no names: a token with `*`, `<...>` or `{...}`, or with a part
in capitals only from PLACEHOLDERS (`fuzz/NAME.options`, `NAME_test.cpp`).
Build trees and hidden folders (but .ci) are not read.

Usage: check_maps.py [--root DIR]
Exit status: 0 when every name is true, 1 when one is not (each printed as
FILE:LINE: NAME).
"""
import argparse
import io
import os
import re
import sys
import tokenize
from pathlib import Path

C_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp"}
HASH_SUFFIXES = {".sh", ".cmake", ".txt", ".script", ".options", ".supp"}
HASH_NAMES = {"CMakeLists.txt", "run"}  # .ci/run is a shell script without suffix
# Extensions a map may name; a bare name is checked for these only.
EXTENSIONS = ("h", "hpp", "c", "cc", "cpp", "py", "sh", "md", "txt", "json", "cmake", "script", "options",
              "supp", "ini", "csv", "png", "svg", "map")
BARE_EXTENSIONS = {".h", ".hpp", ".c", ".cc", ".cpp", ".py", ".sh"}
PLACEHOLDERS = {"NAME", "FILE", "DIR", "NNN", "N", "X"}
SYSTEM_INCLUDES = (Path("/usr/include"), Path("/usr/local/include"))
NAME = re.compile(r"(?<![\w./*<>{}-])((?:[\w.*<>{}-]+/)*[\w.*<>{}-]+\.(?:" + "|".join(EXTENSIONS) +
                  r"))(?![\w/*<>{}-])")


def is_skipped_dir(name):
    return (name.startswith(".") and name != ".ci") or name.startswith("build")


def tree_files(root):
    """Every file below root as a posix path relative to it."""
    files = []
    for folder, dirs, names in os.walk(root):
        dirs[:] = sorted(d for d in dirs if not is_skipped_dir(d))
        rel = Path(folder).relative_to(root)
        files.extend((rel / n).as_posix() for n in names)
    return files


def c_comments(text):
    """(line, comment text) of each comment, strings and characters skipped."""
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            yield line, text[i:end]
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            yield line, text[i:end]
            line += text.count("\n", i, end)
            i = end
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i)
            close = ")" + text[i + 2:open_paren] + '"'
            end = text.find(close, open_paren)
            end = n if end < 0 else end + len(close)
            line += text.count("\n", i, end)
            i = end
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):  # 1'000 is a digit separator
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        else:
            i += 1


def hash_comments(text):
    """(line, comment text) of each `#` comment outside quotes."""
    for number, raw in enumerate(text.splitlines(), 1):
        quote = None
        for i, c in enumerate(raw):
            if quote:
                if c == quote:
                    quote = None
            elif c in "\"'":
                quote = c
            elif c == "#" and (i == 0 or raw[i - 1] in " \t"):
                yield number, raw[i:]
                break


def python_comments(text):
    try:
        for token in tokenize.generate_tokens(io.StringIO(text).readline):
            if token.type == tokenize.COMMENT:
                yield token.start[0], token.string
    except (tokenize.TokenError, SyntaxError):
        return


def markdown_lines(text):
    yield from enumerate(text.splitlines(), 1)


def passages(path):
    """(line, text) of what a file's readers take as prose, by kind of file."""
    text = path.read_text(errors="replace")
    if path.suffix in C_SUFFIXES:
        return c_comments(text)
    if path.suffix == ".py":
        return python_comments(text)
    if path.suffix == ".md":
        return markdown_lines(text)
    if path.suffix in HASH_SUFFIXES or path.name in HASH_NAMES:
        return hash_comments(text)
    return iter(())


def is_pattern(name):
    if any(c in name for c in "*<>{}"):
        return True
    parts = re.split(r"[/._-]", name)
    return any(p in PLACEHOLDERS for p in parts)


class Tree:
    def __init__(self, root):
        self.files = tree_files(root)
        self.names = {f.rsplit("/", 1)[-1] for f in self.files}
        self.folders = set()
        for f in self.files:
            parts = f.split("/")[:-1]
            for i in range(1, len(parts) + 1):
                self.folders.add("/".join(parts[:i]))

    @staticmethod
    def ends_with(paths, tail):
        return any(p == tail or p.endswith("/" + tail) for p in paths)

    @staticmethod
    def is_system_header(name):
        return any((top / name).is_file() or any(top.glob("*/" + name)) for top in SYSTEM_INCLUDES)

    def false_name(self, name):
        """True when name names a project file that the tree does not hold."""
        while name.startswith("./"):
            name = name[2:]
        if is_pattern(name):
            return False
        if "/" in name:
            folder = name.rsplit("/", 1)[0]
            return self.ends_with(self.folders, folder) and not self.ends_with(self.files, name)
        if Path(name).suffix not in BARE_EXTENSIONS or name in self.names:
            return False
        return not (Path(name).suffix in {".h", ".hpp"} and self.is_system_header(name))


def check(root):
    tree = Tree(root)
    problems = []
    for rel in tree.files:
        for line, text in passages(root / rel):
            for match in NAME.finditer(text):
                if tree.false_name(match.group(1)):
                    problems.append(f"{rel}:{line + text.count(chr(10), 0, match.start())}: {match.group(1)}")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=Path(__file__).resolve().parent.parent)
    args = parser.parse_args(argv)
    problems = check(args.root)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check_maps: {len(problems)} name(s) of files the tree does not hold", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
