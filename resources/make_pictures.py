#!/usr/bin/env python3
"""Draws the program icon kestrum-lite.png, 32 x 32 with a transparent background (the result
window's arrows are drawn by the program itself). Uses only the standard library; the file lands
beside this script."""

import os
import struct
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)


def png_bytes(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in pixels)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon():
    """A small keyboard seen from above, its two home keys marked."""
    pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def box(left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                pixels[y][x] = colour

    frame = (38, 58, 112, 255)
    box(1, 7, 30, 19, frame)
    for corner_x, corner_y in ((1, 7), (30, 7), (1, 25), (30, 25)):
        pixels[corner_y][corner_x] = CLEAR
    key = (236, 236, 236, 255)
    home = (255, 150, 40, 255)
    for row, (left, count) in enumerate(((3, 9), (4, 9), (5, 8))):
        for column in range(count):
            colour = home if row == 1 and column in (3, 6) else key
            box(left + 3 * column, 9 + 4 * row, 2, 3, colour)
    box(9, 21, 14, 3, key)  # the space bar
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {
        "kestrum-lite.png": icon(),
    }
    for name, pixels in pictures.items():
        with open(os.path.join(here, name), "wb") as out:
            out.write(png_bytes(pixels))


if __name__ == "__main__":
    main()
