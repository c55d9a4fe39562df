#!/usr/bin/env python3
"""Checks what the import table cannot show about a shipped file: that Windows 95 loads it and
that a 486 runs it.

Usage: check_code.py FILE[=WITH_SYMBOLS]...   (exit 1 when any file fails a check)

- A DLL must have no thread-local-storage directory (data directory 9): Windows 95's LoadLibrary
  refuses such a DLL (error 1114), and the browser loads the helper through LoadLibrary.
- The operating-system and subsystem version fields must be 4.0 or lower.
- The code must hold no instruction newer than the 486: CMOV/FCMOV, FCOMI/FUCOMI, the long NOP
  (0F 1F), MMX or SSE registers, CMPXCHG8B, RDTSC/RDPMC, SYSENTER/SYSEXIT, CPUID.

The shipped files carry no symbols, and the linker places data (exception tables, constructor
lists) inside the code section, where a plain disassembly would read instructions that are never
run. WITH_SYMBOLS names the same file as linked, before stripping: its code must be byte for byte
the shipped file's, and its symbols mark the data to step over.
"""
import os
import re
import struct
import subprocess
import sys

from pe_file import PeError, PeFile

OBJDUMP = os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump")
DATA_LABELS = re.compile(r"^(\.gcc_except_table|\.ctors|\.dtors|_{0,3}CTOR_LIST__|_{0,3}DTOR_LIST__)")
NEWER = re.compile(
    r"^(cmov\w+|fcmov\w+|fcomip?|fucomip?|cmpxchg8b|rdtsc|rdpmc|sysenter|sysexit|cpuid|nopl|nopw"
    r"|emms|movq|movd|\w*xmm\w*)$")
NEWER_OPERAND = re.compile(r"%(mm[0-7]|xmm\d+|ymm\d+)")


def pe_headers(path):
    pe = PeFile(path)
    sections = {}
    for name, va, vsize, rawsize, rawptr, flags in pe.sections:
        sections[name] = (va, vsize, pe.data[rawptr:rawptr + min(vsize, rawsize)], flags)
    return {
        "dll": bool(pe.characteristics & 0x2000),
        "os": struct.unpack_from("<HH", pe.data, pe.opt + 40),
        "subsystem": struct.unpack_from("<HH", pe.data, pe.opt + 48),
        "tls": pe.directory(9),
        "sections": sections,
    }


def code_sections(headers):
    """The executable sections, by name (IMAGE_SCN_MEM_EXECUTE or IMAGE_SCN_CNT_CODE)."""
    return {name: s for name, s in headers["sections"].items() if s[3] & 0x20000020}


def newer_instructions(path):
    """[(address, function, instruction)] of instructions newer than the 486 in PATH's code,
    stepping over the labelled data placed among it."""
    out = subprocess.run([OBJDUMP, "-d", "--no-show-raw-insn", path], capture_output=True, text=True,
                         check=True).stdout
    found = []
    label, in_data = "?", False
    for line in out.splitlines():
        m = re.match(r"^([0-9a-f]+) <(.*)>:$", line)
        if m:
            label = m.group(2)
            in_data = bool(DATA_LABELS.match(label))
            continue
        if in_data:
            continue
        m = re.match(r"^\s*([0-9a-f]+):\s+(\S+)(?:\s+(.*))?$", line)
        if not m:
            continue
        address, mnemonic, operands = m.group(1), m.group(2), m.group(3) or ""
        if mnemonic in ("lock", "rep", "repz", "repnz", "data16", "cs", "ds", "es", "ss", "fs", "gs") and operands:
            mnemonic, _, operands = operands.partition(" ")
        if NEWER.match(mnemonic) or NEWER_OPERAND.search(operands):
            found.append((int(address, 16), label, (mnemonic + " " + operands).strip()))
    return found


def check(shipped, with_symbols):
    problems = []
    headers = pe_headers(shipped)
    name = os.path.basename(shipped)
    if headers["dll"] and headers["tls"] != (0, 0):
        problems.append("%s has a thread-local-storage directory (RVA 0x%x, %d bytes): Windows 95 will not "
                        "load it" % (name, headers["tls"][0], headers["tls"][1]))
    for field in ("os", "subsystem"):
        major, minor = headers[field]
        if (major, minor) > (4, 0):
            problems.append("%s asks for %s version %d.%d, above 4.0" % (
                name, "operating-system" if field == "os" else "subsystem", major, minor))
    if with_symbols != shipped:
        twin = pe_headers(with_symbols)
        shipped_code = {n: s[2] for n, s in code_sections(headers).items()}
        twin_code = {n: s[2] for n, s in code_sections(twin).items()}
        if shipped_code != twin_code:
            problems.append("%s: its code differs from %s's, which the instruction check reads" % (
                name, with_symbols))
    found = newer_instructions(with_symbols)
    if found:
        kinds = sorted({i.split()[0] for _, _, i in found})
        first = ", ".join("0x%x %s (%s)" % (a, i, f) for a, f, i in found[:5])
        problems.append("%s has %d instructions newer than the 486 (%s); the first: %s" % (
            name, len(found), " ".join(kinds), first))
    return problems


def main(argv):
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    bad = 0
    for arg in argv:
        shipped, _, with_symbols = arg.partition("=")
        try:
            problems = check(shipped, with_symbols or shipped)
        except (OSError, PeError, struct.error, subprocess.CalledProcessError) as e:
            problems = ["%s: cannot be read: %s" % (shipped, e)]
        for p in problems:
            print(p)
        bad += len(problems)
        if not problems:
            print("%s: loads on Windows 95, runs on a 486" % os.path.basename(shipped))
    print("findings: %d" % bad)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
