"""The headers of a PE file, as the floor checks read them."""
import struct


class PeError(Exception):
    pass


class PeFile:
    """data, the optional header's offset and magic, the image base, the data directories'
    offset, the file header's characteristics and the sections as
    [(name, va, vsize, rawsize, rawptr, flags)]."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:2] != b"MZ":
            raise PeError("not an MZ file")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        self.data = data
        sections_count = struct.unpack_from("<H", data, pe + 6)[0]
        self.characteristics = struct.unpack_from("<H", data, pe + 22)[0]
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        self.opt = pe + 24
        self.magic = struct.unpack_from("<H", data, self.opt)[0]
        if self.magic == 0x10B:
            self.dirs = self.opt + 96
            self.image_base = struct.unpack_from("<I", data, self.opt + 28)[0]
        elif self.magic == 0x20B:
            self.dirs = self.opt + 112
            self.image_base = struct.unpack_from("<Q", data, self.opt + 24)[0]
        else:
            raise PeError("unknown optional header")
        # Names longer than eight characters (.eh_frame) are "/offset" into the string table,
        # which follows the symbol table; GNU strip keeps it for them.
        symbols, symbols_count = struct.unpack_from("<II", data, pe + 12)
        strings = symbols + 18 * symbols_count
        self.sections = []
        for i in range(sections_count):
            s = self.opt + opt_size + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("ascii", "replace")
            if name[:1] == "/" and name[1:].isdigit() and symbols:
                at = strings + int(name[1:])
                name = data[at:data.index(b"\0", at)].decode("ascii", "replace")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            flags = struct.unpack_from("<I", data, s + 36)[0]
            self.sections.append((name, va, vsize, rawsize, rawptr, flags))

    def directory(self, index):
        """(rva, size) of data directory INDEX."""
        return struct.unpack_from("<II", self.data, self.dirs + 8 * index)
