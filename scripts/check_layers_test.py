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
        self.write("plugin/host_link.cpp", '#include "plugin/host_interface.h"\n\n#include "allowed_groups/alw_grp.h"\n')
        self.assert_fails("plugin/host_link.cpp:3: plugin may not include allowed_groups/alw_grp.h",
                          "1 problem(s)")

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
        self.assert_fails("cycle between units: allowed_groups -> mml -> allowed_groups")

    def test_an_unreadable_table_line_is_refused(self):
        self.write("layers.txt", "platform\n")
        self.assert_fails("expected 'FROM: TO ...'", status=2)

    def test_sub_units_keep_their_order_and_their_folders_outward_edges(self):
        self.write("layers.txt", TABLE + "platform/base:\nplatform/window: platform/base\n")
        self.write("platform/window/cwnd.h", '#include "platform/base/types.h"\n')
        self.write("mml/lock.cpp", '#include "platform/window/cwnd.h"\n')  # mml sees none of platform
        self.write("plugin/context.cpp", '#include "platform/window/cwnd.h"\n')  # an edge to a folder admits its sub-units
        self.write("plugin/entry/entry.cpp", '#include "mml/mml.h"\n')  # plugin/entry keeps plugin's outward edges
        self.assert_fails("mml/lock.cpp:1: mml may not include platform/window/cwnd.h")
        errors = self.run_check()[1]
        self.assertNotIn("context.cpp", errors)
        self.assertNotIn("entry.cpp", errors)

    def test_a_wrong_way_edge_between_sub_units_fails(self):
        self.write("layers.txt", TABLE + "platform/base:\nplatform/window: platform/base\n")
        self.write("platform/window/cwnd.h", '#include "platform/base/types.h"\n')
        self.write("platform/base/types.cpp", '#include "platform/window/cwnd.h"\n')
        self.assert_fails("platform/base/types.cpp:1: platform/base may not include platform/window/cwnd.h "
                          "(platform/base -> platform/window is not in the layer table)")

    def test_an_edge_to_a_folder_admits_no_sub_unit_listed_above_the_includer(self):
        self.write("allowed_groups/form.cpp", '#include "plugin/entry/entry_points.h"\n')
        self.write("plugin/entry/entry_points.h", "#pragma once\n")
        self.assert_fails("allowed_groups may not include plugin/entry/entry_points.h")

    def test_a_circle_among_sub_units_in_the_table_fails(self):
        self.write("layers.txt", TABLE + "platform/base: platform/window\nplatform/window: platform/base\n")
        self.assert_fails("cycle between units: platform/base -> platform/window -> platform/base")

    def test_a_circle_of_headers_inside_one_unit_fails(self):
        self.write("mml/a.h", '#include "mml/b.h"\n')
        self.write("mml/b.h", '#include "c.h"\n')  # beside the including file
        self.write("mml/c.h", '#include "mml/a.h"\n')
        self.write("mml/a.cpp", '#include "mml/a.h"\n')  # a source including its header is no circle
        errors = self.assert_fails("circle of includes inside mml: mml/a.h -> mml/b.h -> mml/c.h -> mml/a.h")
        self.assertIn("1 problem(s)", errors)

    def test_a_circle_through_a_header_and_its_source_fails(self):
        # Neither header reaches itself, but each .cpp includes the other's header.
        self.write("mml/queue.h", "#pragma once\n")
        self.write("mml/queue.cpp", '#include "mml/queue.h"\n#include "mml/window.h"\n')
        self.write("mml/window.h", "#pragma once\n")
        self.write("mml/window.cpp", '#include "mml/window.h"\n\n#include "mml/queue.h"\n')
        errors = self.assert_fails("circle of includes inside mml: mml/queue.cpp includes mml/window.h; "
                                   "mml/window.cpp includes mml/queue.h")
        self.assertIn("1 problem(s)", errors)

    def test_pairs_in_one_order_pass_and_test_helpers_are_not_paired(self):
        # base <- mid <- top: each file includes only lower headers, and a
        # unit's tests may include any of them.
        self.write("mml/base.h", "#pragma once\n")
        self.write("mml/base.cpp", '#include "mml/base.h"\n')
        self.write("mml/mid.h", '#include "mml/base.h"\n')
        self.write("mml/mid.cpp", '#include "mml/mid.h"\n#include "mml/base.h"\n')
        self.write("mml/top.h", "#pragma once\n")
        self.write("mml/top.cpp", '#include "mml/top.h"\n#include "mml/mid.h"\n')
        self.write("mml/base_test.cpp", '#include "mml/top.h"\n')
        # A test helper's pair may include each other's header: not the product's.
        self.write("mml/testing/fake.h", "#pragma once\n")
        self.write("mml/testing/fake.cpp", '#include "mml/testing/fake.h"\n#include "mml/testing/log.h"\n')
        self.write("mml/testing/log.h", "#pragma once\n")
        self.write("mml/testing/log.cpp", '#include "mml/testing/log.h"\n#include "mml/testing/fake.h"\n')
        self.assertEqual(self.run_check(), (0, ""))
        # The lowest source reaching the top header closes base -> top -> mid -> base.
        self.write("mml/base.cpp", '#include "mml/base.h"\n#include "mml/top.h"\n')
        self.assert_fails("circle of includes inside mml: mml/base.cpp includes mml/top.h; "
                          "mml/top.cpp includes mml/mid.h; mml/mid.h includes mml/base.h")

    def test_tests_lines_widen_what_a_units_tests_see_and_nothing_else(self):
        self.write("layers.txt", TABLE + "platform/base:\nplatform/window: platform/base\n"
                   "platform/base tests: platform/window/cwnd.h\n")
        self.write("platform/window/cwnd.h", "#pragma once\n")
        self.write("platform/base/types_test.cpp", '#include "platform/window/cwnd.h"\n')
        self.assertEqual(self.run_check(), (0, ""))
        self.write("platform/base/types.cpp", '#include "platform/window/cwnd.h"\n')
        errors = self.assert_fails("platform/base/types.cpp:1: platform/base may not include platform/window/cwnd.h")
        self.assertNotIn("types_test.cpp", errors)

    def test_an_allowance_admits_its_edge_outside_the_cycle_check_and_is_counted(self):
        self.write("layers.txt", TABLE + "mml allowance: plugin/host_interface.h\n")
        self.write("mml/os.cpp", '#include "plugin/host_interface.h"\n')
        result = subprocess.run(
            [sys.executable, str(SCRIPT), "--root", str(self.root), "--table", str(self.root / "layers.txt")],
            capture_output=True, text=True)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertIn("1 wrong-way edge(s) still allowed (mml allowance)", result.stdout)

    def test_a_qualified_line_of_an_unknown_unit_fails(self):
        self.write("layers.txt", TABLE + "gadgets tests: mml\n")
        self.assert_fails("gadgets tests: gadgets is not a unit of the layer table")

    def test_the_project_tree_keeps_to_its_table(self):
        result = subprocess.run([sys.executable, str(SCRIPT)], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
