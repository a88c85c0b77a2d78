#!/usr/bin/env python3
"""Tests of check_layers.py on small trees built for each case."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent / "check_layers.py"

TABLE = """
platform:
mml:
plugin: mml platform
allowed_groups: plugin mml platform
plugin/entry: allowed_groups plugin platform
terminal: plugin/host_interface.h mml platform
"""


class LayerCheckTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = Path(self.dir.name)
        self.write("layers.txt", TABLE)
        # A tree that keeps to the table.
        self.write("platform/base/types.h", "#pragma once\n")
        self.write("mml/mml.h", "#pragma once\n")
        self.write("plugin/host_interface.h", '#include "mml/mml.h"\n')
        self.write("plugin/plugin_context.h", '#include "plugin/host_interface.h"\n')
        self.write("allowed_groups/alw_grp.h", '#include "plugin/plugin_context.h"\n#include "local.h"\n')
        self.write("plugin/entry/entry_points.cpp", '#include "allowed_groups/alw_grp.h"\n')
        self.write("terminal/host.cpp", '#include "plugin/host_interface.h"\n#include "mml/mml.h"\n#include <vector>\n'
                   '#include <gtest/gtest.h>\n')

    def tearDown(self):
        self.dir.cleanup()

    def write(self, rel, text):
        path = self.root / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def run_check(self):
        result = subprocess.run(
            [sys.executable, str(SCRIPT), "--root", str(self.root), "--table", str(self.root / "layers.txt")],
            capture_output=True, text=True)
        return result.returncode, result.stderr

    def assert_fails(self, *messages, status=1):
        """The check fails with status and says every one of messages; returns what it said."""
        got_status, errors = self.run_check()
        self.assertEqual(got_status, status, errors)
        for message in messages:
            self.assertIn(message, errors)
        return errors

    def test_a_tree_that_keeps_to_the_table_passes(self):
        self.assertEqual(self.run_check(), (0, ""))

    def test_an_include_from_a_lower_folder_into_a_higher_fails(self):
        self.write("plugin/plugin_context.cpp", '#include "plugin/plugin_context.h"\n\n#include "allowed_groups/alw_grp.h"\n')
        self.assert_fails("plugin/plugin_context.cpp:3: plugin may not include allowed_groups/alw_grp.h",
                          "1 include(s)")

    def test_an_angle_include_of_a_folder_of_the_tree_counts_too(self):
        self.write("mml/os.cpp", '#include <plugin/host_interface.h>\n')
        self.assert_fails("mml/os.cpp:1: mml may not include plugin/host_interface.h")

    def test_a_subfolder_unit_is_above_its_parent(self):
        self.write("plugin/terminal_link.cpp", '#include "plugin/entry/entry_points.h"\n')
        self.assert_fails("plugin -> plugin/entry is not in the layer table")

    def test_a_single_header_target_admits_that_header_only(self):
        self.write("terminal/app.cpp", '#include "plugin/plugin_context.h"\n')
        errors = self.assert_fails("terminal/app.cpp:1: terminal may not include plugin/plugin_context.h")
        self.assertNotIn("host.cpp", errors)

    def test_a_folder_missing_from_the_table_fails(self):
        self.write("gadgets/gadget.cpp", '#include "platform/base/types.h"\n')
        self.assert_fails("folder gadgets is not in the layer table")

    def test_a_cycle_in_the_table_fails_even_without_includes_along_it(self):
        self.write("layers.txt", TABLE.replace("mml:\n", "mml: allowed_groups\n"))
        self.assert_fails("cycle between folders: allowed_groups -> mml -> allowed_groups")

    def test_an_unreadable_table_line_is_refused(self):
        self.write("layers.txt", "platform\n")
        self.assert_fails("expected 'FROM: TO ...'", status=2)

    def test_the_project_tree_keeps_to_its_table(self):
        result = subprocess.run([sys.executable, str(SCRIPT)], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
