#!/usr/bin/env python3
"""Checks what the import table cannot show about a shipped file: that Windows 95 loads it and
that a 486 runs it.

Usage: check_code.py FILE[=WITH_SYMBOLS]...   (exit 1 when any file fails a check)

- A DLL must have no thread-local-storage directory (data directory 9): Windows 95's LoadLibrary
  refuses such a DLL (error 1114), and the browser loads the helper through LoadLibrary.
- The operating-system and subsystem version fields must be 4.0 or lower.
- The code must hold no instruction newer than the 486: CMOV/FCMOV, FCOMI/FUCOMI, the long NOP
  (0F 1F), MMX or SSE registers, CMPXCHG8B, RDTSC/RDPMC, SYSENTER/SYSEXIT, CPUID.

The shipped files carry no symbols, and the linker's default script places data (exception
tables, constructor lists) inside the code section, where a disassembly would read instructions
that are never run. WITH_SYMBOLS names the same file as linked, before stripping: its code must be
byte for byte the shipped file's, and its symbols mark the data to step over.

The shipped files must also say so by themselves, to anyone who disassembles them without
symbols (cmake/data_out_of_code.cmake links that data outside the code):
- A plain linear disassembly of every executable section, stepping over nothing, must read no
  instruction newer than the 486 either.
- No exception table (LSDA) may lie in an executable section: found through .eh_frame, whose
  entries point at them (so in the stripped file too), and through the .gcc_except_table
  symbols of WITH_SYMBOLS. Nor may the constructor and destructor lists (by their symbols).
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

from pe_file import PeError, PeFile

OBJDUMP = os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump")
DATA_LABELS = re.compile(r"^(\.gcc_except_table|\.ctors|\.dtors|_{0,3}CTOR_LIST__|_{0,3}DTOR_LIST__)")
NEWER = re.compile(
    r"^(cmov\w+|fcmov\w+|fcomip?|fucomip?|cmpxchg8b|rdtsc|rdpmc|sysenter|sysexit|cpuid|nopl|nopw"
    r"|emms|movq|movd|\w*xmm\w*)$")
NEWER_OPERAND = re.compile(r"%(mm[0-7]|xmm\d+|ymm\d+)")
PREFIXES = ("lock", "rep", "repz", "repnz", "data16", "cs", "ds", "es", "ss", "fs", "gs")
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(\S+)(?:\s+(.*))?$")
LIST_SYMBOLS = ("___CTOR_LIST__", "___DTOR_LIST__")


def pe_headers(path):
    pe = PeFile(path)
    sections = {}
    for name, va, vsize, rawsize, rawptr, flags in pe.sections:
        sections[name] = (va, vsize, pe.data[rawptr:rawptr + min(vsize, rawsize)], flags)
    return {
        "image_base": pe.image_base,
        "dll": bool(pe.characteristics & 0x2000),
        "os": struct.unpack_from("<HH", pe.data, pe.opt + 40),
        "subsystem": struct.unpack_from("<HH", pe.data, pe.opt + 48),
        "tls": pe.directory(9),
        "sections": sections,
    }


def code_sections(headers):
    """The executable sections, by name (IMAGE_SCN_MEM_EXECUTE or IMAGE_SCN_CNT_CODE)."""
    return {name: s for name, s in headers["sections"].items() if s[3] & 0x20000020}


def newer_instruction(line):
    """(address, instruction) when objdump's LINE is an instruction newer than the 486."""
    m = INSTRUCTION.match(line)
    if not m:
        return None
    address, mnemonic, operands = m.group(1), m.group(2), m.group(3) or ""
    if mnemonic in PREFIXES and operands:
        mnemonic, _, operands = operands.partition(" ")
    if NEWER.match(mnemonic) or NEWER_OPERAND.search(operands):
        return int(address, 16), (mnemonic + " " + operands).strip()
    return None


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
        newer = newer_instruction(line)
        if newer:
            found.append((newer[0], label, newer[1]))
    return found


def linear_newer_instructions(headers):
    """[(address, section, instruction)] of instructions newer than the 486 that a plain linear
    disassembly of the executable sections reads: their bytes alone, without symbols, from the
    first byte to the last. objdump skips runs of zeros unless told otherwise, and where it
    resumes can fall differently, so the bytes are read both ways."""
    found = {}
    for name, (va, _, data, _) in sorted(code_sections(headers).items()):
        with tempfile.TemporaryDirectory() as folder:
            raw = os.path.join(folder, "code.bin")
            with open(raw, "wb") as f:
                f.write(data)
            for zeros in ([], ["-z"]):
                out = subprocess.run([OBJDUMP, "-D", "-b", "binary", "-m", "i386", "--no-show-raw-insn",
                                      "--adjust-vma=0x%x" % (headers["image_base"] + va), *zeros, raw],
                                     capture_output=True, text=True, check=True).stdout
                for line in out.splitlines():
                    newer = newer_instruction(line)
                    if newer:
                        found[newer[0]] = (newer[0], name, newer[1])
    return [found[a] for a in sorted(found)]


def section_of(headers, address):
    """The name and flags of the section that holds ADDRESS, or (None, 0)."""
    rva = address - headers["image_base"]
    for name, (va, vsize, data, flags) in headers["sections"].items():
        if va <= rva < va + max(vsize, len(data)):
            return name, flags
    return None, 0


def leb128(data, at, signed):
    """(value, next offset) of the LEB128 number at AT."""
    value, shift = 0, 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if not byte & 0x80:
            if signed and byte & 0x40:
                value -= 1 << shift
            return value, at


def uleb128(data, at):
    return leb128(data, at, False)


def sleb128(data, at):
    return leb128(data, at, True)


def encoded_pointer(data, at, encoding, field_address, size):
    """(value, next offset) of a DWARF exception-handling pointer at AT: absolute or PC-relative
    values only (None for the others, which the compilers use for no LSDA on this target)."""
    form = encoding & 0x0F
    if form == 0x00:
        value = int.from_bytes(data[at:at + size], "little")
        at += size
    elif form in (0x01, 0x09):
        value, at = (uleb128 if form == 0x01 else sleb128)(data, at)
    else:
        widths = {0x02: 2, 0x03: 4, 0x04: 8, 0x0A: 2, 0x0B: 4, 0x0C: 8}
        if form not in widths:
            raise PeError("unknown pointer encoding 0x%x in .eh_frame" % encoding)
        width = widths[form]
        value = int.from_bytes(data[at:at + width], "little", signed=form >= 0x0A)
        at += width
    application = encoding & 0x70
    if application == 0x10:
        value += field_address
    elif application != 0x00:
        value = None
    if value is not None:
        value &= (1 << (8 * size)) - 1
    return value, at


def exception_table_addresses(headers):
    """The addresses of the exception tables (LSDA) that the .eh_frame entries point at."""
    # The linker cuts the name to eight characters where the file has no long section names.
    frames = [s for n, s in headers["sections"].items() if n in (".eh_frame", ".eh_fram")]
    if not frames:
        return []
    va, _, data, _ = frames[0]
    base = headers["image_base"] + va
    size = 8 if headers["image_base"] > 0xFFFFFFFF else 4
    cies, tables, at = {}, [], 0
    while at + 4 <= len(data):
        length = struct.unpack_from("<I", data, at)[0]
        if length == 0:
            break
        if length == 0xFFFFFFFF:
            raise PeError("64-bit .eh_frame entries are not read")
        start, end = at + 4, at + 4 + length
        cie_pointer = struct.unpack_from("<I", data, start)[0]
        if cie_pointer == 0:
            version = data[start + 4]
            augmentation_end = data.index(b"\0", start + 5)
            augmentation = data[start + 5:augmentation_end].decode("ascii", "replace")
            p = augmentation_end + 1
            _, p = uleb128(data, p)
            _, p = sleb128(data, p)
            p = p + 1 if version == 1 else uleb128(data, p)[1]
            fde_encoding, lsda_encoding = 0x00, 0xFF
            if augmentation.startswith("z"):
                _, p = uleb128(data, p)
                for letter in augmentation[1:]:
                    if letter == "P":
                        _, p = encoded_pointer(data, p + 1, data[p] & 0x7F, base + p + 1, size)
                    elif letter == "L":
                        lsda_encoding, p = data[p], p + 1
                    elif letter == "R":
                        fde_encoding, p = data[p], p + 1
            cies[at] = (augmentation.startswith("z"), fde_encoding, lsda_encoding)
        else:
            augmented, fde_encoding, lsda_encoding = cies.get(start - cie_pointer, (False, 0, 0xFF))
            p = start + 4
            _, p = encoded_pointer(data, p, fde_encoding, base + p, size)
            _, p = encoded_pointer(data, p, fde_encoding & 0x0F, base + p, size)
            if augmented:
                augmentation_length, p = uleb128(data, p)
                if augmentation_length and lsda_encoding != 0xFF:
                    table, _ = encoded_pointer(data, p, lsda_encoding, base + p, size)
                    if table:
                        tables.append(table)
        at = end
    return tables


def symbols_in_code(path, headers, names):
    """{name: [address]} of PATH's symbols called one of NAMES that lie in an executable
    section."""
    out = subprocess.run([OBJDUMP, "-t", path], capture_output=True, text=True, check=True).stdout
    sections = list(headers["sections"].values())
    found = {}
    for line in out.splitlines():
        m = re.match(r"^\[\s*\d+\]\(sec\s+(-?\d+)\).*\s0x([0-9a-f]+) (\S+)$", line)
        if not m or m.group(3) not in names:
            continue
        index = int(m.group(1))
        if 1 <= index <= len(sections) and sections[index - 1][3] & 0x20000020:
            va = sections[index - 1][0]
            found.setdefault(m.group(3), []).append(headers["image_base"] + va + int(m.group(2), 16))
    return found


def data_in_code(shipped, with_symbols, headers, twin):
    """The findings about data that lies in the code: exception tables and constructor lists."""
    problems = []
    name = os.path.basename(shipped)
    tables = [t for t in exception_table_addresses(headers) if section_of(headers, t)[1] & 0x20000020]
    symbols = symbols_in_code(with_symbols, twin, (".gcc_except_table",) + LIST_SYMBOLS)
    tables += symbols.get(".gcc_except_table", [])
    if tables:
        first = min(tables)
        problems.append("%s has exception tables inside the code (%s, from 0x%x): a disassembly reads "
                        "them as instructions" % (name, section_of(headers, first)[0], first))
    lists = sorted(a for n in LIST_SYMBOLS for a in symbols.get(n, []))
    if lists:
        problems.append("%s has its constructor and destructor lists inside the code (%s, at 0x%x): a "
                        "disassembly reads them as instructions" % (name, section_of(headers, lists[0])[0],
                                                                     lists[0]))
    return problems


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
    twin = headers
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
    linear = linear_newer_instructions(headers)
    if linear:
        kinds = sorted({i.split()[0] for _, _, i in linear})
        first = ", ".join("0x%x %s (%s)" % (a, i, s) for a, s, i in linear[:5])
        problems.append("%s: a plain disassembly of its code, stepping over nothing, reads %d instructions "
                        "newer than the 486 (%s); the first: %s" % (name, len(linear), " ".join(kinds), first))
    problems += data_in_code(shipped, with_symbols, headers, twin)
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
