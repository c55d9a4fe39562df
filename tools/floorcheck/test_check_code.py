#!/usr/bin/env python3
"""The load-and-CPU check passes on the shipped files and fails, naming the finding, on probes that
bring each fault back: a TLS directory, Pentium Pro code, version fields above 4.0, and a shipped
file read against another file's code.

Usage: test_check_code.py TLS_PROBE_DLL PENTIUMPRO_PROBE_EXE VERSION_PROBE_EXE SHIPPED=WITH_SYMBOLS...
"""
import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "check_code.py")
TLS_PROBE, PENTIUMPRO_PROBE, VERSION_PROBE = sys.argv[1:4]
SHIPPED = sys.argv[4:]


def run_check(*args):
    return subprocess.run([sys.executable, CHECK, *args], capture_output=True, text=True)


class CodeCheck(unittest.TestCase):
    def test_shipped_files_load_on_windows_95_and_run_on_a_486(self):
        self.assertEqual(len(SHIPPED), 4)
        for pair in SHIPPED:
            for path in pair.split("="):
                self.assertTrue(os.path.isfile(path), path + " is missing: build the shipped tree first")
        result = run_check(*SHIPPED)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("findings: 0", result.stdout)

    def test_a_dll_with_a_tls_directory_fails(self):
        result = run_check(TLS_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("tls_probe.dll has a thread-local-storage directory", result.stdout)

    def test_pentium_pro_code_fails_naming_the_instruction_and_where(self):
        result = run_check(PENTIUMPRO_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertRegex(result.stdout, r"pentiumpro_probe\.exe has \d+ instructions newer than the 486 \([^)]*cmov")
        self.assertRegex(result.stdout, r"the first: 0x[0-9a-f]+ cmov\w+ ")

    def test_version_fields_above_4_0_fail(self):
        result = run_check(VERSION_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("asks for operating-system version 5.1, above 4.0", result.stdout)
        self.assertIn("asks for subsystem version 5.1, above 4.0", result.stdout)

    def test_a_shipped_file_is_read_only_against_its_own_code(self):
        shipped = [pair.split("=") for pair in SHIPPED]
        helper = next(p for p in shipped if p[0].endswith("VexbaneIEDLL.dll"))
        cleaner = next(p for p in shipped if p[0].endswith("CookieCleaner.dll"))
        result = run_check(helper[0] + "=" + cleaner[1])
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("its code differs", result.stdout)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
