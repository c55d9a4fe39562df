#!/usr/bin/env python3
"""The packer writes the layout core/setup_payload.h reads, says what it did in one line, and
refuses, with a message and a non-zero exit and no file written, what the reader would refuse.

Usage: pack_setup_test.py  (runs installer/pack_setup.py beside it)
"""
import lzma
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
PACK = os.path.join(HERE, "pack_setup.py")


def pack(folder, program, files, out="setup.exe"):
    return subprocess.run([sys.executable, PACK, "--program", program, "--out", os.path.join(folder, out), *files],
                          capture_output=True, text=True)


class PackSetup(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)
        self.program = self.file("prog.exe", b"MZ" + bytes(range(256)) * 3)

    def file(self, name, data):
        path = os.path.join(self.dir.name, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def out_exists(self):
        return os.path.exists(os.path.join(self.dir.name, "setup.exe"))

    def test_layout_round_trips_through_an_independent_reading(self):
        files = [self.file("sub/A.dll", b"\xe8\x10\x00\x00\x00" * 300 + b"tail"), self.file("empty.txt", b""),
                 self.file("Block.wav", b"RIFF" + bytes(1000))]
        result = pack(self.dir.name, self.program, files)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.dir.name, "setup.exe"), "rb") as f:
            whole = f.read()
        with open(self.program, "rb") as f:
            program = f.read()
        self.assertTrue(whole.startswith(program))
        trailer = whole[-20:]
        self.assertEqual(trailer[:8], b"VxbTail\x1a")
        size, header_crc, trailer_crc = struct.unpack("<III", trailer[8:])
        self.assertEqual(trailer_crc, zlib.crc32(trailer[:16]))
        self.assertEqual(len(whole) - size, len(program))
        head = whole[len(program):len(program) + 52]
        self.assertEqual(head[:8], b"VxbPack\x1a")
        (fmt, payload_size, count, table_size, packed_size, unpacked_size, dict_size, props, filt, zero,
         table_crc, stream_crc, crc) = struct.unpack("<IIIIIIIBBHIII", head[8:])
        self.assertEqual((fmt, payload_size, count, filt, zero), (1, size, 3, 1, 0))
        lc, lp, pb = props % 9, props // 9 % 5, props // 45
        self.assertLessEqual(lc + lp, 4)
        self.assertLessEqual(pb, 4)
        self.assertEqual(crc, zlib.crc32(head[:48]))
        self.assertEqual(crc, header_crc)
        table = whole[len(program) + 52:len(program) + 52 + table_size]
        stream = whole[len(program) + 52 + table_size:-20]
        self.assertEqual(len(stream), packed_size)
        self.assertEqual((table_crc, stream_crc), (zlib.crc32(table), zlib.crc32(stream)))
        data = lzma.decompress(stream, format=lzma.FORMAT_RAW, filters=[
            {"id": lzma.FILTER_X86}, {"id": lzma.FILTER_LZMA1, "dict_size": dict_size, "lc": lc, "lp": lp, "pb": pb}])
        self.assertEqual(len(data), unpacked_size)
        at = 0
        for path in files:
            with open(path, "rb") as f:
                original = f.read()
            n = table[at]
            self.assertEqual(table[at + 1:at + 1 + n].decode(), os.path.basename(path))
            stored_size, stored_crc = struct.unpack("<II", table[at + 1 + n:at + 9 + n])
            self.assertEqual((stored_size, stored_crc), (len(original), zlib.crc32(original)))
            self.assertEqual(data[:stored_size], original)
            data = data[stored_size:]
            at += 9 + n
        self.assertEqual(at, len(table))
        numbers = [int(n) for n in re.findall(r"(\d+) bytes", result.stdout)]
        self.assertEqual(numbers, [len(program), unpacked_size, payload_size, len(whole)])
        self.assertEqual(len(result.stdout.strip().splitlines()), 1)

    def test_refuses_names_the_reader_refuses(self):
        for name in ["CON", "nul.txt", "a..b", "x" * 65, "tr\u00e9s.txt", "trailing."]:
            with self.subTest(name=name):
                result = pack(self.dir.name, self.program, [self.file(name, b"1")])
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("pack_setup:", result.stderr)
                self.assertFalse(self.out_exists())

    def test_refuses_the_same_name_twice_ignoring_case(self):
        result = pack(self.dir.name, self.program, [self.file("a/Tray.exe", b"1"), self.file("b/tray.EXE", b"2")])
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("twice", result.stderr)
        self.assertFalse(self.out_exists())

    def test_refuses_missing_inputs_and_no_files(self):
        result = pack(self.dir.name, self.program, [os.path.join(self.dir.name, "absent.dll")])
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("absent.dll", result.stderr)
        result = pack(self.dir.name, os.path.join(self.dir.name, "noprogram.exe"), [self.program])
        self.assertNotEqual(result.returncode, 0)
        self.assertNotEqual(pack(self.dir.name, self.program, []).returncode, 0)
        self.assertFalse(self.out_exists())
        many = [self.file(f"f{i}.bin", b"x") for i in range(65)]
        self.assertNotEqual(pack(self.dir.name, self.program, many).returncode, 0)
        self.assertFalse(self.out_exists())


if __name__ == "__main__":
    unittest.main()
