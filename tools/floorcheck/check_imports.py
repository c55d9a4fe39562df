#!/usr/bin/env python3
"""Checks the shipped files' import tables against the table of imports the oldest systems have.

Usage: check_imports.py TABLE FILE...   (exit 1 when any file imports something not in TABLE)
       check_imports.py --list FILE...  (prints every import, one "DLL FUNCTION" a line)

TABLE rows are "DLL FUNCTION OLDEST" (OLDEST: the oldest system that has it, free text); '#'
starts a comment. Functions imported by ordinal are written "#<ordinal>". DLL names compare
without case, function names with case, as the loader does.
"""
import struct
import sys

from pe_file import PeError, PeFile


def _read_cstring(data, offset):
    end = data.index(b"\0", offset)
    return data[offset:end].decode("ascii", "replace")


def imports_of(path):
    """Returns [(dll, function)] of the normal and the delay-load import tables."""
    pe = PeFile(path)
    data = pe.data
    if pe.magic == 0x10B:
        thunk_size, ordinal_flag = 4, 0x80000000
    else:
        thunk_size, ordinal_flag = 8, 0x8000000000000000
    sections = [(va, max(vsize, rawsize), rawptr) for _, va, vsize, rawsize, rawptr, _ in pe.sections]

    def offset(rva):
        for va, size, raw in sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise PeError("address 0x%x is in no section" % rva)

    def thunks(rva):
        out = []
        pos = offset(rva)
        while True:
            value = struct.unpack_from("<Q" if thunk_size == 8 else "<I", data, pos)[0]
            if value == 0:
                return out
            if value & ordinal_flag:
                out.append("#%d" % (value & 0xFFFF))
            else:
                out.append(_read_cstring(data, offset(value & 0x7FFFFFFF) + 2))
            pos += thunk_size

    found = []
    import_rva = pe.directory(1)[0]
    if import_rva:
        pos = offset(import_rva)
        while True:
            lookup, _, _, name_rva, iat = struct.unpack_from("<IIIII", data, pos)
            if name_rva == 0:
                break
            dll = _read_cstring(data, offset(name_rva))
            found += [(dll, fn) for fn in thunks(lookup or iat)]
            pos += 20
    delay_rva = pe.directory(13)[0]
    if delay_rva:
        pos = offset(delay_rva)
        while True:
            attrs, name_rva, _, _, int_rva = struct.unpack_from("<IIIII", data, pos)
            if name_rva == 0:
                break
            dll = _read_cstring(data, offset(name_rva))
            found += [(dll, fn) for fn in thunks(int_rva)]
            pos += 32
    return found


def read_table(path):
    allowed = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0] if not line.lstrip().startswith("#") else ""
            fields = line.split()
            if not fields:
                continue
            if len(fields) < 3:
                raise SystemExit("%s:%d: a row needs DLL, FUNCTION and the oldest system" % (path, number))
            allowed[(fields[0].lower(), fields[1])] = " ".join(fields[2:])
    return allowed


def main(argv):
    if len(argv) >= 2 and argv[0] == "--list":
        for path in argv[1:]:
            for dll, fn in imports_of(path):
                print(dll, fn)
        return 0
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    # Ordinal rows are written "@<n>" in the table so that '#' can stay the comment mark.
    allowed = {(dll, fn.replace("@", "#", 1) if fn.startswith("@") else fn): why
               for (dll, fn), why in read_table(argv[0]).items()}
    bad = 0
    for path in argv[1:]:
        try:
            found = imports_of(path)
        except (OSError, PeError, ValueError, struct.error) as e:
            print("%s: cannot read its import table: %s" % (path, e))
            bad += 1
            continue
        for dll, fn in sorted(set(found)):
            if (dll.lower(), fn) not in allowed:
                print("%s imports %s %s, which is not in the table of the oldest systems' imports" % (path, dll, fn))
                bad += 1
        print("%s: %d imports checked" % (path, len(set(found))))
    print("imports not in the table: %d" % bad)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
