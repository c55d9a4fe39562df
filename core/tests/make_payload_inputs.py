#!/usr/bin/env python3
"""Writes the payload suite's inputs: a setup file made by installer/pack_setup.py and raw LZMA1
streams with other literal/position settings, each beside the bytes it must give back.

make_payload_inputs.py SOURCE_DIR OUT_DIR

OUT_DIR/setup.list    the fake program part, then every packed file in packed order
OUT_DIR/setup.exe     the program part with the payload appended
OUT_DIR/streams.list  per line: stream file, properties byte, dictionary size, original, bcj 0/1
"""
import lzma
import os
import subprocess
import sys


def noise(n, seed):
    """Bytes from a 32-bit linear congruential generator: incompressible, and the same everywhere."""
    out = bytearray(n)
    x = seed
    for i in range(n):
        x = (x * 1103515245 + 12345) & 0xFFFFFFFF
        out[i] = x >> 16 & 0xFF
    return bytes(out)


def x86_like(n, seed):
    """Code-like bytes dense in E8/E9 opcodes, near and far operands, and opcodes inside operands:
    every path of the branch converter, so its decoding must match liblzma's encoding exactly."""
    r = noise(n * 2, seed)
    out = bytearray()
    i = 0
    while len(out) < n:
        kind = r[i] % 8
        i += 1
        if kind < 3:
            out += bytes([0xE8 if kind else 0xE9]) + r[i:i + 3] + bytes([0x00 if r[i + 3] & 1 else 0xFF])
            i += 4
        elif kind == 3:
            out += bytes([0xE8, 0xE8, r[i], 0xE9, 0x00, 0xFF, 0xE8])
            i += 1
        elif kind == 4:
            out += bytes([0xE8]) + r[i:i + 4]
            i += 4
        elif kind == 5:
            # Runs of opcodes among near and far operand bytes: every recent-opcode history.
            out += bytes((0xE8, 0xE9, 0x00, 0xFF, 0xE8, 0x12)[b % 6] for b in r[i:i + 12])
            i += 12
        else:
            out += bytes([0x8B, 0x45, r[i], 0x89, 0xC1])
            i += 1
    return bytes(out[:n])


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    source, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    # A program part of odd length holding "MZ" and both magics' first bytes, but no payload.
    program = b"MZ" + b"VxbPac" + noise(4091, 7)
    write(os.path.join(out, "program.bin"), program)
    made = {
        "empty.bin": b"",
        "same.bin": b"\xa5" * 65537,
        "noise.bin": noise(6000, 11),
        "code.exe": x86_like(24000, 5),
        "one.txt": b"x",
    }
    for name, data in made.items():
        write(os.path.join(out, name), data)
    repo = [os.path.join(source, "core", "lzma_decoder.cpp"), os.path.join(source, "core", "setup_payload.h")]
    packed = [os.path.join(out, "code.exe"), repo[0], os.path.join(out, "empty.bin"),
              os.path.join(out, "same.bin"), os.path.join(out, "noise.bin"), repo[1], os.path.join(out, "one.txt")]
    pack = os.path.join(source, "installer", "pack_setup.py")
    subprocess.run([sys.executable, pack, "--program", os.path.join(out, "program.bin"),
                    "--out", os.path.join(out, "setup.exe")] + packed, check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(out, "setup.list"), "w") as f:
        f.write("\n".join([os.path.join(out, "program.bin")] + packed) + "\n")

    text = b"".join(open(p, "rb").read() for p in repo)
    # Records that differ in a byte or two: short repeats straight after matches.
    records = b"".join(b"Name=%05d;Value=%03d;Flags=00;" % (i, i * 7 % 1000) + b"\x00" * (i % 5) for i in range(3000))
    mixed = x86_like(9000, 3) + text + noise(3000, 9) + b"\x00" * 5000 + records + text
    lines = []
    for lc, lp, pb, bcj in [(3, 0, 2, 1), (0, 0, 0, 0), (4, 0, 1, 1), (0, 4, 4, 0), (1, 3, 3, 1), (2, 2, 0, 0)]:
        lzma1 = {"id": lzma.FILTER_LZMA1, "preset": 6, "dict_size": 1 << 16, "lc": lc, "lp": lp, "pb": pb}
        filters = ([{"id": lzma.FILTER_X86}] if bcj else []) + [lzma1]
        name = f"stream_lc{lc}_lp{lp}_pb{pb}{'_x86' if bcj else ''}.lzma"
        write(os.path.join(out, name), lzma.compress(mixed, format=lzma.FORMAT_RAW, filters=filters))
        lines.append(f"{os.path.join(out, name)} {(pb * 5 + lp) * 9 + lc} {1 << 16} {os.path.join(out, 'mixed.bin')} {bcj}")
    write(os.path.join(out, "mixed.bin"), mixed)
    with open(os.path.join(out, "streams.list"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
