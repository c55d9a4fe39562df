#!/usr/bin/env python3
"""The setup stays within its size budget: no larger than the NSIS setup it replaced.

Usage: check_setup_size.py SETUP_EXE UNINSTALLER_EXE [LIMIT]

Prints the setup's size, its program part (the uninstaller, byte for byte) and the files it carries,
and exits 1 when the setup is larger than LIMIT bytes (236,591: the last NSIS setup).
"""
import os
import sys

NSIS_SETUP_SIZE = 236591


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    setup, uninstaller = argv[0], argv[1]
    limit = int(argv[2]) if len(argv) > 2 else NSIS_SETUP_SIZE
    size = os.path.getsize(setup)
    program = os.path.getsize(uninstaller)
    with open(setup, "rb") as f:
        head = f.read(program)
    with open(uninstaller, "rb") as f:
        if f.read() != head:
            print(f"{os.path.basename(setup)} does not begin with {os.path.basename(uninstaller)}: "
                  "the uninstaller is not setup's program part")
            return 1
    print(f"{os.path.basename(setup)}: {size} bytes: program part {program}, carried files {size - program}; "
          f"limit {limit}")
    if size > limit:
        print(f"{os.path.basename(setup)} is {size - limit} bytes over its limit of {limit}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
