#!/usr/bin/env python3
"""Draws the tray program's two icons as 16-colour .ico files (32x32 and 16x16 in each).

blocking.ico: a blue round sign with a white bar, the form's own icon.
allowing.ico: the same sign in grey, shown while blocking is off.
Usage: make_icons.py OUTPUT_FOLDER
"""
import os
import struct
import sys

# The standard 16-colour palette, as (blue, green, red, 0) entries of the bitmap.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]  # (red, green, blue)
NAVY, SILVER, GRAY, BLUE, WHITE = 4, 7, 8, 12, 15

SIGNS = {
    "blocking.ico": {"rim": NAVY, "fill": BLUE, "bar": WHITE},
    "allowing.ico": {"rim": GRAY, "fill": SILVER, "bar": WHITE},
}


def draw(size, colours):
    """Rows top to bottom of palette indices, or None where the icon is transparent."""
    centre = (size - 1) / 2.0
    outer = size / 2.0 - 0.5
    rim = max(1.0, size / 16.0)
    bar_half_height = max(1, size // 10)
    bar_half_width = outer * 0.62
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - centre, y - centre
            distance = (dx * dx + dy * dy) ** 0.5
            if distance > outer:
                row.append(None)
            elif distance > outer - rim:
                row.append(colours["rim"])
            elif abs(dy) <= bar_half_height - 0.5 and abs(dx) <= bar_half_width:
                row.append(colours["bar"])
            else:
                row.append(colours["fill"])
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def image(size, colours):
    """One icon image: header, palette, 4-bit colour rows and 1-bit mask rows, bottom up."""
    rows = draw(size, colours)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour_rows, mask_rows = b"", b""
    for row in reversed(rows):
        nibbles = [0 if p is None else p for p in row]
        colour_rows += padded(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        bits = [1 if p is None else 0 for p in row]
        mask_rows += padded(bytes(
            sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, size, 8)))
    return header + palette + colour_rows + mask_rows


def icon_file(colours):
    images = [image(size, colours) for size in (32, 16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in zip((32, 16), images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, colours in SIGNS.items():
        path = os.path.join(out, name)
        with open(path, "wb") as f:
            f.write(icon_file(colours))


if __name__ == "__main__":
    main()
