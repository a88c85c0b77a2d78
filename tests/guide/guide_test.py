#!/usr/bin/env python3
"""Keeps the administrator's guide (docs/guide.md) true to the module.

  guide_test.py pictures --tarnterm PATH
      takes the guide's pictures again into a temporary folder
      (scripts/guide_pictures.sh) and compares each with the one kept in
      docs/guide/, pixel for pixel; the guide must show every kept picture,
      and every picture it shows must be kept.
  guide_test.py scripts --tarnterm PATH
      runs every terminal script the guide shows (its ```script blocks),
      each whole in a fresh terminal folder with an empty store; a block
      that fails fails the test.
  guide_test.py messages
      collects every text the plug-in and the list framework can show in a
      message box or write to the terminal's log, from the calls in their
      code, and wants each in the guide's table of messages.
"""
import argparse
import re
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
GUIDE = ROOT / "docs" / "guide.md"
PICTURES = ROOT / "docs" / "guide"
REMAKE = "run scripts/guide_pictures.sh to take the guide's pictures again (and look at them)"


# ---- pictures ----

def png_data(path):
    """The header fields and the inflated image data of a PNG."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return header, zlib.decompress(idat)


def first_difference(a, b):
    """Why two PNGs differ, or None. The platform's encoder leaves every row
    unfiltered, so equal pixels give equal data."""
    (ha, ra), (hb, rb) = png_data(a), png_data(b)
    if ha[:2] != hb[:2]:
        return f"{ha[0]}x{ha[1]} pixels instead of {hb[0]}x{hb[1]}"
    if ra != rb:
        stride = len(ra) // ha[1]  # a row's filter byte, then its pixels

        def line(data, y):
            return data[y * stride:(y + 1) * stride]
        row = next((y for y in range(ha[1]) if line(ra, y) != line(rb, y)), 0)
        return f"its pixels differ from row {row} on"
    return None


def check_pictures(tarnterm):
    problems = []
    with tempfile.TemporaryDirectory() as fresh:
        run = subprocess.run([str(ROOT / "scripts" / "guide_pictures.sh"), "--tarnterm", tarnterm, fresh],
                             capture_output=True, text=True, timeout=240)
        if run.returncode != 0:
            return [f"scripts/guide_pictures.sh failed:\n{run.stdout}{run.stderr}"]
        made = {p.name for p in Path(fresh).glob("*.png")}
        kept = {p.name for p in PICTURES.glob("*.png")}
        for name in sorted(made - kept):
            problems.append(f"docs/guide/{name} is made by the script but not kept")
        for name in sorted(kept - made):
            problems.append(f"docs/guide/{name} is kept but the script no longer makes it")
        for name in sorted(made & kept):
            why = first_difference(Path(fresh) / name, PICTURES / name)
            if why:
                problems.append(f"docs/guide/{name} is not the window as it is now: {why}")
    # The pictures the guide shows, as names in docs/guide/.
    shown = re.findall(r"!\[[^\]]*\]\(guide/([^)\s]+)\)", GUIDE.read_text(encoding="utf-8"))
    for name in shown:
        if not (PICTURES / name).is_file():
            problems.append(f"docs/guide.md shows guide/{name}, which does not exist")
    for name in sorted({p.name for p in PICTURES.glob("*.png")} - set(shown)):
        problems.append(f"docs/guide/{name} is not shown in docs/guide.md")
    return problems


# ---- scripts ----

def check_scripts(tarnterm):
    blocks = re.findall(r"^```script\n(.*?)^```", GUIDE.read_text(encoding="utf-8"), re.S | re.M)
    problems = [] if blocks else ["docs/guide.md shows no ```script block"]
    for number, block in enumerate(blocks, 1):
        with tempfile.TemporaryDirectory() as home:
            script = Path(home) / "guide.script"
            script.write_text(block, encoding="utf-8")
            run = subprocess.run([tarnterm, "--db", ":memory:", "--home", home, "--script", str(script)],
                                 capture_output=True, text=True, timeout=60)
            if run.returncode != 0:
                problems.append(f"script block {number} of docs/guide.md failed:\n{block}{run.stdout}{run.stderr}")
    return problems


# ---- messages ----

FOLDERS = ("allowed_groups", "plugin", "listview", "controls", "resources")
SINKS = ("AfxMessageBox", "MessageBox", "AddToTabbedLog")
LITERAL = r'"(?:[^"\\\n]|\\.)*"'
# A parameter as declared: "const char* message", "CString text".
DECLARED = re.compile(r"(?:const\s+)?[\w:]+(?:\s*[*&]+\s*|\s+)\w+")


def strip_comments(code):
    """The code with comments blanked, string literals kept."""
    return re.sub(r'//[^\n]*|/\*.*?\*/|' + LITERAL + r"|'(?:[^'\\\n]|\\.)*'",
                  lambda m: m.group(0) if m.group(0)[0] in "\"'" else " " * len(m.group(0)), code, flags=re.S)


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), literal[1:-1])


def argument(code, open_paren, index=0):
    """The text of argument `index` of the call whose "(" (or "{") is at
    open_paren; None when it has fewer."""
    depth, start, args, pos = 0, open_paren + 1, [], open_paren
    while pos < len(code):
        c = code[pos]
        if c == '"':
            pos = re.compile(LITERAL).match(code, pos).end()
            continue
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                args.append(code[start:pos].strip())
                break
        elif c == "," and depth == 1:
            args.append(code[start:pos].strip())
            start = pos + 1
        pos += 1
    return args[index] if index < len(args) else None


class Collector:
    def __init__(self):
        self.files = {}
        for folder in FOLDERS:
            for path in sorted((ROOT / folder).rglob("*")):
                if path.suffix in (".cpp", ".h") and not path.name.endswith("_test.cpp") \
                        and "testing" not in path.parts:
                    self.files[path.relative_to(ROOT)] = strip_comments(path.read_text(encoding="utf-8"))
        self.messages = {}  # text pieces (tuple) -> where
        self.problems = []

    def all_code(self):
        return self.files.items()

    def resolve(self, expr, where, depth=0):
        """The messages an argument can be: tuples of literal pieces (one
        piece: the whole text; more: text around values filled in)."""
        expr = expr.strip()
        expr = re.sub(r"\.c_str\(\)$|\.GetString\(\)$", "", expr).strip()
        while expr.startswith("(") and expr.endswith(")") and argument(expr, 0) == expr[1:-1].strip():
            expr = expr[1:-1].strip()
        if depth > 5:
            return None
        if re.fullmatch(rf"(?:{LITERAL}\s*)+", expr):
            return [("".join(unescape(lit) for lit in re.findall(LITERAL, expr)),)]
        branches = re.fullmatch(rf"[^?]+\?\s*({LITERAL})\s*:\s*({LITERAL})", expr)
        if branches:
            return [(unescape(branches.group(1)),), (unescape(branches.group(2)),)]
        if "+" in re.sub(LITERAL, "", expr) and re.search(LITERAL, expr):
            # Text around values: a value is an empty piece.
            operands = re.split(rf"\s*\+\s*(?=(?:[^\"]*{LITERAL})*[^\"]*$)", expr)
            return [tuple(unescape(o) if re.fullmatch(LITERAL, o) else "" for o in operands)]
        if expr == "nullptr":
            return []
        member = re.fullmatch(r"[A-Za-z_]\w*(?:\.|->)(\w+)", expr)
        if member:
            return self.from_initialisers(member.group(1), where, depth)
        if re.fullmatch(r"[A-Za-z_]\w*", expr):
            return self.from_constant(expr, depth) or self.from_callers(expr, where, depth)
        return None

    def from_constant(self, name, depth):
        for _, code in self.all_code():
            m = re.search(rf"\b{name}\s*(?:\[\])?\s*=\s*((?:{LITERAL}\s*)+);", code)
            if m:
                return self.resolve(m.group(1), name, depth + 1)
        return None

    def from_initialisers(self, field, where, depth):
        """A field of a record of texts: the texts every braced initialiser of
        that record gives it."""
        for _, code in self.all_code():
            for struct_match in re.finditer(r"struct\s+(\w+)\s*\{(.*?)\};", code, re.S):
                fields = re.findall(r"([A-Za-z_]\w*)\s*(?:=[^;]*)?;", struct_match.group(2))
                if field not in fields:
                    continue
                index, found = fields.index(field), []
                for _, other in self.all_code():
                    for init in re.finditer(rf"\b{struct_match.group(1)}\s+\w+\s*\{{", other):
                        value = argument(other, init.end() - 1, index)
                        texts = self.resolve(value, where, depth + 1) if value is not None else None
                        if texts is None:
                            self.problems.append(f"{where}: cannot read field {field} of {init.group(0)}")
                        else:
                            found += texts
                return found
        return None

    def from_callers(self, parameter, where, depth):
        """A parameter of the function the call sits in: what its callers pass."""
        code = self.files[where[0]]
        before = code[:where[1]]
        definitions = list(re.finditer(rf"(\w+)\s*\(([^()]*\b{parameter}\b[^()]*)\)\s*(?:const\s*)?\{{", before))
        if not definitions:
            return None
        function = definitions[-1].group(1)
        params = [p.strip() for p in definitions[-1].group(2).split(",")]
        index = next(i for i, p in enumerate(params) if re.search(rf"\b{parameter}$", p))
        found = []
        for path, other in self.all_code():
            for call in re.finditer(rf"(?<![\w:.>]){function}\s*\(", other):
                value = argument(other, call.end() - 1, index)
                if value is None or DECLARED.fullmatch(value):
                    continue  # the function's own declaration or definition
                texts = self.resolve(value, (path, call.start()), depth + 1)
                if texts is None:
                    self.problems.append(f"{path}: cannot read what {function} is given: {value}")
                else:
                    found += texts
        return found or None

    def collect(self):
        for path, code in self.all_code():
            for call in re.finditer(rf"(?<![\w:])(?:\w+::|::)?({'|'.join(SINKS)})\s*\(", code):
                line = code.count("\n", 0, call.start()) + 1
                if re.search(r"\b(void|PLATFORM_API|BOOL|int)\s+$", code[:call.start()][-30:]):
                    continue  # the sink's own declaration
                value = argument(code, call.end() - 1)
                if value is None or value.startswith("const "):
                    continue
                texts = self.resolve(value, (path, call.start()))
                if texts is None:
                    self.problems.append(f"{path}:{line}: cannot tell what {call.group(1)}({value}) shows; "
                                         "make it a text this test can read")
                    continue
                for pieces in texts:
                    self.messages.setdefault(pieces, f"{path}:{line}")
        return self.messages


def guide_messages():
    """The first cell of every row of the guide's tables of messages, as the
    text inside its backticks."""
    cells, in_section = [], False
    for line in GUIDE.read_text(encoding="utf-8").splitlines():
        if line.startswith("#"):
            in_section = "message" in line.lower()
        elif in_section and line.startswith("|"):
            m = re.match(r"\|\s*`([^`]*)`", line)
            if m:
                cells.append(m.group(1))
    return cells


def check_messages():
    collector = Collector()
    messages = collector.collect()
    problems = list(collector.problems)
    cells = guide_messages()
    for pieces, where in sorted(messages.items(), key=lambda item: item[1]):
        if len(pieces) == 1:
            if pieces[0] not in cells:
                problems.append(f"{where}: the guide's table of messages lacks `{pieces[0]}`")
            continue
        pattern = "".join(re.escape(p) if p else ".+" for p in pieces)
        if not any(re.fullmatch(pattern, cell) for cell in cells):
            form = "".join(p or "<...>" for p in pieces)
            problems.append(f"{where}: the guide's table of messages lacks a row of the form `{form}`")
    if len(messages) < 10:
        problems.append(f"only {len(messages)} messages found in the code: the collector has lost its way")
    return problems, len(messages)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("what", choices=("pictures", "scripts", "messages"))
    parser.add_argument("--tarnterm")
    args = parser.parse_args()
    if args.what in ("pictures", "scripts"):
        if not args.tarnterm:
            parser.error(args.what + " needs --tarnterm")
        problems = (check_pictures if args.what == "pictures" else check_scripts)(args.tarnterm)
        if problems:
            print("\n".join(problems) + ("\n" + REMAKE if args.what == "pictures" else ""), file=sys.stderr)
            return 1
        print(f"guide {args.what}: all as the terminal does now")
        return 0
    problems, count = check_messages()
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    print(f"guide messages: all {count} texts of the code are in docs/guide.md")
    return 0


if __name__ == "__main__":
    sys.exit(main())
