#!/usr/bin/env python3
"""Tests of setup.sh with a package manager that talks a lot: one line per
step on success, the package manager's own output when a step fails."""
import os
import stat
import subprocess
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent / "setup.sh"

# Only cmake is missing; apt-get prints 300 lines of progress and fails
# when FAIL_STEP names its sub-command.
FAKES = {
    "dpkg-query": '#!/bin/sh\nfor a; do last="$a"; done\n'
                  '[ "$last" = cmake ] && exit 1\necho "install ok installed"\n',
    "apt-get": '#!/bin/sh\ni=0\nwhile [ $i -lt 300 ]; do echo "Get:$i progress of $*"; i=$((i+1)); done\n'
               'case " $* " in *" $FAIL_STEP "*) echo "E: Unable to locate package cmake" >&2; exit 100;; esac\n',
    "sudo": '#!/bin/sh\nexec "$@"\n',
}


class SetupTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        for name, text in FAKES.items():
            path = Path(self.dir.name) / name
            path.write_text(text)
            path.chmod(path.stat().st_mode | stat.S_IXUSR)

    def tearDown(self):
        self.dir.cleanup()

    def run_setup(self, fail_step=""):
        env = dict(os.environ, PATH=self.dir.name + os.pathsep + os.environ["PATH"], FAIL_STEP=fail_step)
        return subprocess.run(["sh", str(SCRIPT)], env=env, capture_output=True, text=True, timeout=60)

    def test_each_step_is_one_line_and_progress_stays_hidden(self):
        run = self.run_setup()
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout, "setup: updating the package lists\nsetup: installing cmake\n")
        self.assertEqual(run.stderr, "")

    def test_a_failing_step_shows_what_the_package_manager_said(self):
        run = self.run_setup(fail_step="install")
        self.assertNotEqual(run.returncode, 0)
        self.assertEqual(run.stdout, "setup: updating the package lists\nsetup: installing cmake\n")
        self.assertIn("E: Unable to locate package cmake", run.stderr)
        self.assertIn("Get:299 progress", run.stderr)
        self.assertTrue(run.stderr.endswith("setup: FAILED: installing cmake\n"), run.stderr[-200:])


if __name__ == "__main__":
    unittest.main()
