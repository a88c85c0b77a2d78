#!/usr/bin/env python3
"""Tests of check_maps.py on small trees built for each case."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent / "check_maps.py"


class MapCheckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = Path(self.dir.name)
        self.write("platform/comctl/list_view.h", "#pragma once\n")
        self.write("platform/comctl/list_view_paint.cpp", "int x;\n")
        self.write("platform/testing/reset_layers.h", "#pragma once\n")
        self.write("scripts/setup.sh", "#!/bin/sh\n")

    def tearDown(self):
        self.dir.cleanup()

    def write(self, rel, text):
        path = self.root / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def run_check(self):
        result = subprocess.run([sys.executable, str(SCRIPT), "--root", str(self.root)], capture_output=True,
                                text=True)
        return result.returncode, result.stderr

    def test_true_names_and_what_is_no_project_file_pass(self):
        cases = [
            ("a/one.h", "// Drawn by platform/comctl/list_view_paint.cpp, see list_view.h.\n"),
            ("a/two.cpp", "/* testing/reset_layers.h and comctl/list_view.h name the ends of paths */\n"),
            ("a/three.cpp", '// <zlib.h>, gtest/gtest.h and DIR/001-x.png are not ours\nconst char* s = "gone.cpp";\n'),
            ("a/four.cpp", "// Patterns: *_test.cpp, <name>_test.cpp, fuzz/NAME.options, NAME.cpp\n"),
            ("a/five.cpp", 'auto r = R"(// missing.cpp)";\nint n = 1\'000;  // list_view.h\n'),
            ("a/six.py", 's = "# missing.py"\n# Run setup.sh first.\n'),
            ("a/seven.md", "See `platform/testing/reset_layers.h` and `./scripts/setup.sh`.\n"),
            ("a/CMakeLists.txt", 'set(X "#gone.cpp")  # from list_view.h\n'),
        ]
        for rel, text in cases:
            self.write(rel, text)
        self.assertEqual(self.run_check(), (0, ""))

    def test_each_false_name_fails_with_its_place(self):
        cases = [
            ("a/one.h", "int a;\n// The model (platform/header_model.h) keeps it.\n", "a/one.h:2: platform/header_model.h"),
            ("a/two.h", "/* sections:\n   listview.cpp */\n", "a/two.h:2: listview.cpp"),
            ("a/three.cpp", "// comctl/list_view_layout.cpp\n", "a/three.cpp:1: comctl/list_view_layout.cpp"),
            ("a/four.py", "x = 1  # see setup_all.sh\n", "a/four.py:1: setup_all.sh"),
            ("a/five.md", "| `platform/comctl/gone.h` | ... |\n", "a/five.md:1: platform/comctl/gone.h"),
            ("a/six.txt", "# testing/reset_all.h\n", "a/six.txt:1: testing/reset_all.h"),
        ]
        for rel, text, expected in cases:
            with self.subTest(rel=rel):
                self.write(rel, text)
                status, errors = self.run_check()
                self.assertEqual(status, 1)
                self.assertIn(expected, errors)
                (self.root / rel).unlink()
        self.assertEqual(self.run_check(), (0, ""))

    def test_build_trees_are_not_read(self):
        self.write("build/default/gen.cpp", "// missing.cpp\n")
        self.assertEqual(self.run_check(), (0, ""))

    def test_the_project_tree_names_only_files_it_holds(self):
        result = subprocess.run([sys.executable, str(SCRIPT)], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
