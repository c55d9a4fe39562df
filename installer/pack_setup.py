#!/usr/bin/env python3
"""Appends the files setup installs to the setup program: the payload core/setup_payload.h reads.

python3 installer/pack_setup.py --program SETUP_PROGRAM.exe --out VexbaneSetup.exe FILE...

The files are stored under their base names in the order given, compressed together as one raw
LZMA1 stream after the x86 BCJ filter (the strongest settings: preset 9 with the extreme flag,
and of a few literal/position settings the one that packs smallest).
The layout is documented in core/setup_payload.h; the limits here are the reader's, so a payload
this tool writes is never one the reader refuses.
"""
import argparse
import lzma
import os
import struct
import sys
import zlib

HEADER_MAGIC = b"VxbPack\x1a"
TRAILER_MAGIC = b"VxbTail\x1a"
FORMAT = 1
HEADER_SIZE = 52
TRAILER_SIZE = 20
MAX_FILES = 64
MAX_NAME = 64
MAX_UNPACKED = 64 * 1024 * 1024
FILTER_X86 = 1
# LZMA literal and position settings (lc, lp, pb) tried in turn, the smallest stream kept: the
# presets' own (3, 0, 2) and those that suit 32-bit code. On the six shipped files (0, 1, 1)
# saves about 400 bytes over the presets'. The reader takes any with lc + lp <= 4.
SETTINGS = [(3, 0, 2), (0, 1, 1), (2, 0, 1), (1, 0, 1)]
# Preset 9's dictionary. The decoder keeps no dictionary of its own (the output is the
# dictionary), so its size costs setup nothing; it only has to hold every distance used.
DICT_SIZE = 64 * 1024 * 1024
FORBIDDEN = set('\\/:*?"<>|')
DEVICES = {"con", "prn", "aux", "nul"} | {f"{p}{n}" for p in ("com", "lpt") for n in range(1, 10)}


class PackError(Exception):
    pass


def crc32(data):
    return zlib.crc32(data) & 0xFFFFFFFF


def check_name(name):
    """The reader's rules for a stored name (IsPayloadFileName)."""
    if not 1 <= len(name) <= MAX_NAME:
        raise PackError(f"{name!r}: a stored name has 1 to {MAX_NAME} characters")
    if any(not 0x20 <= ord(c) <= 0x7E or c in FORBIDDEN for c in name):
        raise PackError(f"{name!r}: a stored name is printable ASCII without \\ / : * ? \" < > |")
    if name.endswith((".", " ")) or name.startswith(" ") or ".." in name:
        raise PackError(f"{name!r}: a stored name may not hold '..', end in a dot or space or start with a space")
    if name.split(".", 1)[0].lower() in DEVICES:
        raise PackError(f"{name!r}: a device name cannot be stored")


def compress(data):
    """The smallest stream over SETTINGS, and its LZMA properties byte."""
    best = None
    for lc, lp, pb in SETTINGS:
        lzma1 = {"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME, "dict_size": DICT_SIZE,
                 "lc": lc, "lp": lp, "pb": pb}
        filters = [{"id": lzma.FILTER_X86}, lzma1]
        packed = lzma.compress(data, format=lzma.FORMAT_RAW, filters=filters)
        if best is None or len(packed) < len(best[0]):
            best = (packed, (pb * 5 + lp) * 9 + lc, filters)
    packed, properties, filters = best
    # Proof before writing: what was packed comes back unchanged.
    if lzma.decompress(packed, format=lzma.FORMAT_RAW, filters=filters) != data:
        raise PackError("the compressed stream does not give the files back")
    return packed, properties


def build_payload(named_files):
    if not 1 <= len(named_files) <= MAX_FILES:
        raise PackError(f"setup carries 1 to {MAX_FILES} files, not {len(named_files)}")
    seen = set()
    table = bytearray()
    for name, data in named_files:
        check_name(name)
        if name.lower() in seen:
            raise PackError(f"{name!r} is given twice")
        seen.add(name.lower())
        encoded = name.encode("ascii")
        table += bytes([len(encoded)]) + encoded + struct.pack("<II", len(data), crc32(data))
    unpacked = b"".join(data for _, data in named_files)
    if len(unpacked) > MAX_UNPACKED:
        raise PackError(f"the files add up to {len(unpacked)} bytes, more than {MAX_UNPACKED}")
    stream, properties = compress(unpacked)
    payload_size = HEADER_SIZE + len(table) + len(stream) + TRAILER_SIZE
    head = HEADER_MAGIC + struct.pack(
        "<IIIIIIIBBHII", FORMAT, payload_size, len(named_files), len(table), len(stream),
        len(unpacked), DICT_SIZE, properties, FILTER_X86, 0, crc32(bytes(table)), crc32(stream))
    head += struct.pack("<I", crc32(head))
    # The trailer repeats the header's CRC, binding the two.
    tail = TRAILER_MAGIC + struct.pack("<I", payload_size) + head[-4:]
    tail += struct.pack("<I", crc32(tail))
    payload = head + bytes(table) + stream + tail
    assert len(head) == HEADER_SIZE and len(tail) == TRAILER_SIZE and len(payload) == payload_size
    return payload, len(unpacked)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise PackError(f"cannot read {path}: {e.strerror}")


def main(argv=None):
    parser = argparse.ArgumentParser(description="Append the files setup installs to the setup program.")
    parser.add_argument("--program", required=True, help="the setup program as linked")
    parser.add_argument("--out", required=True, help="the setup file to write")
    parser.add_argument("files", nargs="+", metavar="FILE", help="files to carry, stored under their base names")
    args = parser.parse_args(argv)
    try:
        program = read(args.program)
        named = [(os.path.basename(path), read(path)) for path in args.files]
        payload, raw = build_payload(named)
        temporary = args.out + ".tmp"
        try:
            with open(temporary, "wb") as f:
                f.write(program + payload)
            os.replace(temporary, args.out)
        except OSError as e:
            if os.path.exists(temporary):
                os.remove(temporary)
            raise PackError(f"cannot write {args.out}: {e.strerror}")
    except PackError as e:
        print(f"pack_setup: {e}", file=sys.stderr)
        return 1
    print(f"pack_setup: program {len(program)} bytes, files {raw} bytes raw, payload {len(payload)} bytes packed, "
          f"total {len(program) + len(payload)} bytes -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
