#!/usr/bin/env python3
"""The import check passes on the shipped files and fails on a file that imports newer calls.

Usage: test_check_imports.py TABLE PROBE_EXE SHIPPED_FILE...
"""
import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "check_imports.py")
TABLE, PROBE, SHIPPED = sys.argv[1], sys.argv[2], sys.argv[3:]


def run_check(*files):
    return subprocess.run([sys.executable, CHECK, TABLE, *files], capture_output=True, text=True)


class ImportCheck(unittest.TestCase):
    def test_shipped_files_import_only_what_the_oldest_systems_have(self):
        self.assertTrue(SHIPPED)
        # Setup and the uninstaller it writes are checked with the four files.
        self.assertTrue(any(path.endswith("VexbaneSetup.exe") for path in SHIPPED))
        self.assertTrue(any(path.endswith("uninst.exe") for path in SHIPPED))
        for path in SHIPPED:
            self.assertTrue(os.path.isfile(path), path + " is missing: build the shipped tree first")
        result = run_check(*SHIPPED)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_a_file_that_links_newer_calls_back_fails_and_names_them(self):
        result = run_check(PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        for name in ("GetTickCount64", "GetAncestor", "SetWindowSubclass", "DefSubclassProc"):
            self.assertIn(" " + name + ",", result.stdout)

    def test_every_table_row_names_the_oldest_systems(self):
        with open(TABLE, encoding="utf-8") as f:
            rows = [line.split() for line in f if line.strip() and not line.startswith("#")]
        self.assertTrue(rows)
        for row in rows:
            self.assertGreaterEqual(len(row), 3, " ".join(row))
            self.assertRegex(" ".join(row[2:]), r"95|98|NT4|NT 3", " ".join(row))


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
