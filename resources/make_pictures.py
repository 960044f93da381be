#!/usr/bin/env python3
"""Draws the result window's arrows as 32 x 32 PNGs with a transparent background (arrow_up.png
points up-left, arrow_down.png down-left, arrow_even.png left). Uses only the standard library;
the files land beside this script. The program icon is drawn in icons/kestrum-lite.svg."""

import math
import os
import struct
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)
GREY = (192, 192, 192, 255)
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)


def png_bytes(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in pixels)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def inside(polygon, x, y):
    """Even-odd rule at one point."""
    result = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


# A left-pointing arrow around the centre (16, 16): the head's tip at the left, the shaft to the
# right.
LEFT_ARROW = [(-14, 0), (-1, -13), (-1, -6), (13, -6), (13, 6), (-1, 6), (-1, 13)]


def arrow(degrees, scale):
    """The arrow turned clockwise on screen by `degrees`. The light always falls from the top
    left, whatever the direction: white edges face it, black edges face away."""
    angle = math.radians(degrees)
    polygon = [(16 + scale * (x * math.cos(angle) - y * math.sin(angle)),
                16 + scale * (x * math.sin(angle) + y * math.cos(angle))) for x, y in LEFT_ARROW]
    body = [[inside(polygon, x + 0.5, y + 0.5) for x in range(SIZE)] for y in range(SIZE)]

    def filled(x, y):
        return 0 <= x < SIZE and 0 <= y < SIZE and body[y][x]

    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if not body[y][x]:
                row.append(CLEAR)
            elif not (filled(x - 1, y) and filled(x, y - 1) and filled(x - 1, y - 1)):
                row.append(WHITE)
            elif not (filled(x + 1, y) and filled(x, y + 1) and filled(x + 1, y + 1)):
                row.append(BLACK)
            else:
                row.append(GREY)
        pixels.append(row)
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {
        "arrow_even.png": arrow(0, 1.0),
        "arrow_up.png": arrow(45, 0.88),
        "arrow_down.png": arrow(-45, 0.88),
    }
    for name, pixels in pictures.items():
        with open(os.path.join(here, name), "wb") as out:
            out.write(png_bytes(pixels))


if __name__ == "__main__":
    main()
