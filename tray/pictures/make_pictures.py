#!/usr/bin/env python3
"""Draws the background pictures of the tray program's dialogs as run-length encoded 8-bit BMP files.

Usage: make_pictures.py OUTPUT_FOLDER

Each picture is a soft vertical gradient with a deep blue title band, a thin frame and a small
emblem at the right end of the band. The pictures are drawn at 12 twips per pixel and shown
stretched to the dialog's picture area.

Each picture has fewer than 256 colours (rows of one colour, a few anti-aliased edges), so it is
stored without loss as a palette bitmap compressed with BI_RLE8, which the system's GDI expands
itself on every Windows version: about 1% of the size of the 24-bit picture.
"""
import math
import os
import struct
import sys

BODY_TOP = (246, 249, 253)
BODY_BOTTOM = (214, 226, 241)
BAND_TOP = (58, 112, 184)
BAND_BOTTOM = (28, 68, 128)
BAND_EDGE = (150, 186, 228)
FRAME = (30, 60, 104)
EMBLEM = (255, 255, 255)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def coverage(distance):
    """Share of a pixel covered by a shape whose edge lies `distance` pixels away (inside < 0)."""
    return max(0.0, min(1.0, 0.5 - distance))


class Picture:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[(0, 0, 0)] * width for _ in range(height)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        self.pixels[y][x] = mix(self.pixels[y][x], colour, min(alpha, 1.0))

    def save(self, path):
        palette = sorted({colour for row in self.pixels for colour in row})
        if len(palette) > 256:
            raise SystemExit("%s: %d colours do not fit a palette" % (path, len(palette)))
        index = {colour: i for i, colour in enumerate(palette)}
        rows = [[index[c] for c in row] for row in reversed(self.pixels)]  # bottom-up
        data = bytearray()
        for row in rows:
            data += encode_rle8_row(row)
        data[-2:] = b"\0\1"  # the last end of line becomes the end of the bitmap
        if decode_rle8(data, self.width, self.height) != rows:
            raise SystemExit("%s: the encoding does not give the picture back" % path)
        colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        offset = 14 + 40 + len(colours)
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, BI_RLE8, len(data), 4724, 4724,
                           len(palette), 0)
        with open(path, "wb") as f:
            f.write(header + info + colours + bytes(data))


BI_RLE8 = 1


def encode_rle8_row(row):
    """One row as runs (count, index) and absolute stretches (0, count, indices, pad), then end of line."""
    out = bytearray()
    literal = []

    def flush_literal():
        while literal:
            chunk = literal[:255]
            del literal[:255]
            if len(chunk) < 3:  # absolute mode needs three or more pixels
                for i in chunk:
                    out.extend((1, i))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)

    x = 0
    while x < len(row):
        run = 1
        while x + run < len(row) and run < 255 and row[x + run] == row[x]:
            run += 1
        if run >= 3 or (run == 2 and not literal):
            flush_literal()
            out.extend((run, row[x]))
        else:
            literal.extend(row[x:x + run])
        x += run
    flush_literal()
    out.extend((0, 0))
    return out


def decode_rle8(data, width, height):
    """The rows the system's decoder makes of the data (bottom-up), for checking the encoder."""
    rows, row, i = [], [], 0
    while i < len(data):
        count, value = data[i], data[i + 1]
        i += 2
        if count:
            row.extend([value] * count)
        elif value == 0 or value == 1:
            rows.append(row)
            row = []
            if value == 1:
                break
        elif value == 2:
            raise ValueError("no deltas are written")
        else:
            row.extend(data[i:i + value])
            i += value + (value % 2)
    if len(rows) != height or any(len(r) != width for r in rows):
        return None
    return rows


def draw_face(pic, band_height):
    for y in range(pic.height):
        if y < band_height:
            colour = mix(BAND_TOP, BAND_BOTTOM, y / max(1, band_height - 1))
            if y < band_height // 2:  # a faint sheen on the upper half of the band
                colour = mix(colour, (255, 255, 255), 0.10 * (1 - y / (band_height / 2)))
        else:
            t = (y - band_height) / max(1, pic.height - band_height - 1)
            colour = mix(BODY_TOP, BODY_BOTTOM, t)
        for x in range(pic.width):
            pic.pixels[y][x] = colour
    for x in range(pic.width):
        pic.pixels[band_height][x] = BAND_EDGE
        pic.blend(x, band_height + 1, BAND_EDGE, 0.4)
    for x in range(pic.width):
        pic.pixels[0][x] = FRAME
        pic.pixels[pic.height - 1][x] = FRAME
    for y in range(pic.height):
        pic.pixels[y][0] = FRAME
        pic.pixels[y][pic.width - 1] = FRAME


def ring(pic, cx, cy, radius, thickness, colour):
    for y in range(int(cy - radius - 2), int(cy + radius + 3)):
        for x in range(int(cx - radius - 2), int(cx + radius + 3)):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            pic.blend(x, y, colour, coverage(abs(d - radius + thickness / 2) - thickness / 2))


def disc(pic, cx, cy, radius, colour, alpha=1.0):
    for y in range(int(cy - radius - 2), int(cy + radius + 3)):
        for x in range(int(cx - radius - 2), int(cx + radius + 3)):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            pic.blend(x, y, colour, alpha * coverage(d - radius))


def bar(pic, x0, y0, x1, y1, thickness, colour):
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    for y in range(int(min(y0, y1) - thickness), int(max(y0, y1) + thickness) + 1):
        for x in range(int(min(x0, x1) - thickness), int(max(x0, x1) + thickness) + 1):
            px, py = x + 0.5 - x0, y + 0.5 - y0
            along = px * ux + py * uy
            across = abs(-px * uy + py * ux)
            if -thickness / 2 <= along <= length + thickness / 2:
                pic.blend(x, y, colour, coverage(across - thickness / 2))


def emblem_block(pic, cx, cy, r):
    """A window crossed out: the blocker's sign."""
    disc(pic, cx, cy, r, (255, 255, 255), 0.12)
    ring(pic, cx, cy, r, 3.2, EMBLEM)
    bar(pic, cx - r * 0.62, cy - r * 0.62, cx + r * 0.62, cy + r * 0.62, 3.2, EMBLEM)


def emblem_cookie(pic, cx, cy, r):
    disc(pic, cx, cy, r, (236, 196, 128))
    ring(pic, cx, cy, r, 2.0, (255, 255, 255))
    for dx, dy in ((-0.35, -0.3), (0.3, -0.4), (0.05, 0.1), (-0.4, 0.35), (0.4, 0.3)):
        disc(pic, cx + dx * r, cy + dy * r, r * 0.13, (110, 62, 28))


def emblem_notice(pic, cx, cy, r):
    ring(pic, cx, cy, r, 2.4, EMBLEM)
    bar(pic, cx, cy - r * 0.5, cx, cy + r * 0.12, 2.6, EMBLEM)
    disc(pic, cx, cy + r * 0.45, 1.7, EMBLEM)


def make(path, width, height, band_height, emblem):
    pic = Picture(width, height)
    draw_face(pic, band_height)
    r = band_height * 0.32
    emblem(pic, width - band_height * 0.75, band_height / 2, r)
    pic.save(path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    make(os.path.join(out, "advanced_back.bmp"), 530, 335, 52, emblem_block)
    make(os.path.join(out, "cookie_back.bmp"), 530, 335, 52, emblem_cookie)
    make(os.path.join(out, "message_back.bmp"), 332, 188, 40, emblem_notice)


if __name__ == "__main__":
    main()
