#!/usr/bin/env python3
"""Draws the background pictures of the tray program's dialogs as 24-bit BMP files.

Usage: make_pictures.py OUTPUT_FOLDER

Each picture is a soft vertical gradient with a deep blue title band, a thin frame and a small
emblem at the right end of the band. The pictures are drawn at 12 twips per pixel and shown
stretched to the dialog's picture area.
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
        row_size = (self.width * 3 + 3) & ~3
        pad = b"\0" * (row_size - self.width * 3)
        data = bytearray()
        for row in reversed(self.pixels):
            for r, g, b in row:
                data += bytes((b, g, r))
            data += pad
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data), 4724, 4724, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


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
