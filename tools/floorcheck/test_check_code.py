#!/usr/bin/env python3
"""The load-and-CPU check passes on the shipped files and fails, naming the finding, on probes that
bring each fault back: a TLS directory, Pentium Pro code, version fields above 4.0, exception
tables left in the code section, and a shipped file read against another file's code.

Usage: test_check_code.py TLS_PROBE_DLL PENTIUMPRO_PROBE_EXE VERSION_PROBE_EXE
                          EH_PROBE_EXE=EH_PROBE_LINKED_EXE PENTIUMPRO_SETUP_PROBE_EXE SHIPPED=WITH_SYMBOLS...
"""
import os
import re
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "check_code.py")
TLS_PROBE, PENTIUMPRO_PROBE, VERSION_PROBE, EH_PROBE, SETUP_PROBE = sys.argv[1:6]
SHIPPED = sys.argv[6:]


def run_check(*args):
    return subprocess.run([sys.executable, CHECK, *args], capture_output=True, text=True)


class CodeCheck(unittest.TestCase):
    def test_shipped_files_load_on_windows_95_and_run_on_a_486(self):
        # The four files, setup and the uninstaller it writes.
        self.assertEqual(len(SHIPPED), 6)
        self.assertTrue(any(pair.startswith(os.path.join("dist", "VexbaneSetup.exe")) or
                            "VexbaneSetup.exe=" in pair for pair in SHIPPED))
        self.assertTrue(any("uninst.exe=" in pair for pair in SHIPPED))
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

    def test_a_setup_whose_program_has_pentium_pro_code_fails(self):
        # The files packed behind the program do not hide it.
        result = run_check(SETUP_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertRegex(result.stdout, r"pentiumpro_setup_probe\.exe has \d+ instructions newer than the 486 \([^)]*cmov")

    def test_version_fields_above_4_0_fail(self):
        result = run_check(VERSION_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("asks for operating-system version 5.1, above 4.0", result.stdout)
        self.assertIn("asks for subsystem version 5.1, above 4.0", result.stdout)

    def test_exception_tables_in_the_code_fail_though_the_symbols_step_over_them(self):
        # Read like a shipped file, against its linked copy: the check guided by the symbols
        # steps over the tables and finds nothing; reading the code as it stands finds the CMOV
        # that the tables' bytes make, and .eh_frame and the symbols place the tables in .text.
        result = run_check(EH_PROBE)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertNotRegex(result.stdout, r"eh_in_code_probe\.exe has \d+ instructions newer")
        self.assertRegex(result.stdout, r"eh_in_code_probe\.exe: a plain disassembly of its code, stepping over "
                                        r"nothing, reads \d+ instructions newer than the 486 \([^)]*cmovb[^)]*\); "
                                        r"the first: 0x[0-9a-f]+ cmovb %ecx,%eax \(\.text\)")
        self.assertIn("eh_in_code_probe.exe has exception tables inside the code (.text, from 0x", result.stdout)
        self.assertIn("eh_in_code_probe.exe has its constructor and destructor lists inside the code (.text",
                      result.stdout)
        # The CMOV is read from the tables' bytes: they begin at or before it.
        cmov = int(re.search(r"the first: 0x([0-9a-f]+) cmovb", result.stdout).group(1), 16)
        tables = int(re.search(r"exception tables inside the code \(\.text, from 0x([0-9a-f]+)\)",
                               result.stdout).group(1), 16)
        self.assertLessEqual(tables, cmov)

    def test_exception_tables_in_the_code_are_found_without_symbols(self):
        # The stripped file alone: its .eh_frame still points into the code.
        stripped = EH_PROBE.split("=")[0]
        result = run_check(stripped)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("eh_in_code_probe.exe has exception tables inside the code (.text, from 0x", result.stdout)

    def test_a_shipped_file_is_read_only_against_its_own_code(self):
        shipped = [pair.split("=") for pair in SHIPPED]
        helper = next(p for p in shipped if p[0].endswith("VexbaneIEDLL.dll"))
        cleaner = next(p for p in shipped if p[0].endswith("CookieCleaner.dll"))
        result = run_check(helper[0] + "=" + cleaner[1])
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("its code differs", result.stdout)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
