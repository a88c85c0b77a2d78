#!/usr/bin/env python3
"""The manual page says what `tarnterm --help` says.

    manual_page_test.py TARNTERM MANUAL_PAGE

The options of the page's OPTIONS section, each with its argument, are those
the usage lists, in the same order; its SYNOPSIS names the same options as
the usage's; its title carries the version `tarnterm --version` prints; and
groff formats it without a warning (as a manual viewer would show it).
"""
import re
import subprocess
import sys

OPTION_LINE = re.compile(r"^  (--[a-z-]+)(?: ([A-Z]+))?(?:\s|$)")


def usage_options(help_text):
    """(synopsis options, [(option, argument)...]) of the usage."""
    synopsis, options = set(), []
    for line in help_text.splitlines():
        match = OPTION_LINE.match(line)
        if match:
            options.append((match.group(1), match.group(2) or ""))
        elif not options:
            synopsis.update(re.findall(r"--[a-z-]+", line))
    return synopsis, options


def plain(roff):
    """A line of roff as the reader sees its words."""
    text = re.sub(r"^\.[A-Z]+\s*", "", roff)
    text = re.sub(r"\\f[BIRP]", "", text).replace("\\-", "-").replace('"', "")
    return " ".join(text.split())


def sections(page):
    """{section name: [lines]} of the page."""
    found, current = {}, None
    for line in page.splitlines():
        if line.startswith(".SH "):
            current = line[4:].strip().strip('"')
            found[current] = []
        elif current is not None:
            found[current].append(line)
    return found


def page_options(lines):
    """[(option, argument)...] of the tags that follow .TP lines."""
    options = []
    for tp, tag in zip(lines, lines[1:]):
        if tp.strip() == ".TP":
            words = plain(tag).split()
            options.append((words[0], " ".join(words[1:])))
    return options


def main():
    tarnterm, page_path = sys.argv[1], sys.argv[2]
    page = open(page_path, encoding="utf-8").read()
    help_text = subprocess.run([tarnterm, "--help"], capture_output=True, text=True, check=True).stdout
    version = subprocess.run([tarnterm, "--version"], capture_output=True, text=True, check=True).stdout
    failures = []

    synopsis, options = usage_options(help_text)
    if not options:
        failures.append("the usage lists no option")
    found = sections(page)
    in_page = page_options(found.get("OPTIONS", []))
    if in_page != options:
        failures.append(f"OPTIONS lists {in_page}\n  the usage lists {options}")
    page_synopsis = {plain(m) for m in re.findall(r"\\-\\-[a-z\\-]+", "\n".join(found.get("SYNOPSIS", [])))}
    if page_synopsis != synopsis:
        failures.append(f"SYNOPSIS names {sorted(page_synopsis)}\n  the usage names {sorted(synopsis)}")

    title = next((line for line in page.splitlines() if line.startswith(".TH ")), "")
    said = version.splitlines()[0] if version else ""
    if not said.startswith("tarnterm ") or f'"{said}"' not in title:
        failures.append(f"the title {title!r} does not carry {said!r}")

    groff = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", page_path], capture_output=True, text=True)
    if groff.returncode != 0 or groff.stderr:
        failures.append(f"groff warns: {groff.stderr.strip()}")

    for failure in failures:
        print(f"manual page {page_path}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
