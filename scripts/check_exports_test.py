#!/usr/bin/env python3
"""Tests of check_exports.py on a small shared library built for each case."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent / "check_exports.py"
CXX = os.environ.get("CXX") or shutil.which("c++") or shutil.which("g++")

SOURCE = """
#define API __attribute__((visibility("default")))
namespace demo {
API int Answer(int x) { return x + 1; }
int Hidden(int x) { return x * 2; }
}
"""


@unittest.skipIf(CXX is None, "no C++ compiler")
class ExportCheckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = Path(self.dir.name)
        (self.root / "bin").mkdir()
        (self.root / "lists").mkdir()
        self.list = self.root / "lists" / "libdemo.so.txt"
        self.build(SOURCE)
        self.list.write_text("")
        self.assertEqual(self.run_check("--update").returncode, 0)

    def tearDown(self):
        self.dir.cleanup()

    def build(self, source):
        src = self.root / "demo.cpp"
        src.write_text(source)
        subprocess.run([CXX, "-shared", "-fPIC", "-fvisibility=hidden", "-o", str(self.root / "bin" / "libdemo.so"),
                        str(src)], check=True)

    def run_check(self, *extra):
        return subprocess.run([sys.executable, str(SCRIPT), "--lists", str(self.root / "lists"), *extra,
                               str(self.root)], capture_output=True, text=True)

    def test_update_writes_the_exports_mangled_with_their_plain_names(self):
        text = self.list.read_text()
        self.assertIn("_ZN4demo6AnswerEi  # demo::Answer(int)\n", text)
        self.assertNotIn("Hidden", text)
        self.assertEqual(self.run_check().returncode, 0)

    def test_a_new_export_fails_until_the_list_names_it(self):
        self.build(SOURCE + "API int Extra() { return 7; }\n")
        result = self.run_check()
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("added (not in the list):   _Z5Extrav  Extra()", result.stdout)
        self.assertIn("--update", result.stdout)
        self.list.write_text(self.list.read_text() + "_Z5Extrav\n")
        self.assertEqual(self.run_check().returncode, 0)

    def test_an_export_that_went_is_reported_as_removed(self):
        self.build(SOURCE.replace("API int Answer", "int Answer"))
        result = self.run_check()
        self.assertEqual(result.returncode, 1)
        self.assertIn("removed (listed, not exported): _ZN4demo6AnswerEi  demo::Answer(int)", result.stdout)

    def test_a_changed_signature_is_a_changed_export(self):
        self.build(SOURCE.replace("Answer(int x)", "Answer(long x)"))
        result = self.run_check()
        self.assertEqual(result.returncode, 1)
        self.assertIn("added (not in the list):   _ZN4demo6AnswerEl", result.stdout)
        self.assertIn("removed (listed, not exported): _ZN4demo6AnswerEi", result.stdout)

    def test_the_standard_librarys_names_fail_listed_or_not(self):
        # A template of namespace std instantiated here keeps the default
        # visibility its headers give it, with its type information.
        self.build(SOURCE + "#include <memory>\n"
                   "API std::shared_ptr<int> Shared() { return std::make_shared<int>(3); }\n")
        for extra in ((), ("--update",)):
            result = self.run_check(*extra)
            self.assertEqual(result.returncode, 1, result.stdout)
            self.assertIn("standard library: _ZTISt", result.stdout)
            self.assertNotIn("_ZTISt", self.list.read_text())
        listed = subprocess.run(["nm", "-D", "--defined-only", str(self.root / "bin" / "libdemo.so")],
                                capture_output=True, text=True).stdout.split()
        self.list.write_text("\n".join(n for n in listed if n.startswith("_Z")) + "\n")
        self.assertEqual(self.run_check().returncode, 1, "listing them does not make them the project's")

    def test_a_missing_binary_is_an_error_not_a_pass(self):
        (self.root / "lists" / "tarnterm.txt").write_text("main\n")
        result = self.run_check()
        self.assertEqual(result.returncode, 2)
        self.assertIn("tarnterm is missing", result.stderr)


if __name__ == "__main__":
    unittest.main()
