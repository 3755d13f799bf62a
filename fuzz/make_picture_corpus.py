#!/usr/bin/env python3
"""Writes the seed corpus of the picture fuzzer: small valid Windows bitmaps of every depth
the loader reads (1, 4, 8, 16, 24 and 32 bits), stored bottom-up and top-down.

usage: fuzz/make_picture_corpus.py [folder]   (default: fuzz/corpus/picture next to it)
"""
import os
import struct
import sys

SIZES = [(5, 3), (7, 7), (1, 1)]
DEPTHS = [1, 4, 8, 16, 24, 32]


def pixel(column, row, depth):
    """A value for the pixel: a palette index, or packed colour bits."""
    if depth <= 8:
        return (column * 3 + row * 5) % (1 << depth)
    red, green, blue = (column * 40) % 256, (row * 60) % 256, ((column + row) * 25) % 256
    if depth == 16:
        return ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3)
    if depth == 24:
        return (red << 16) | (green << 8) | blue
    return (0x80 << 24) | (red << 16) | (green << 8) | blue


def row_bytes(width, row, depth):
    if depth >= 16:
        size = depth // 8
        data = b"".join(pixel(c, row, depth).to_bytes(size, "little") for c in range(width))
    else:
        bits = "".join(format(pixel(c, row, depth), "0%db" % depth) for c in range(width))
        bits += "0" * (-len(bits) % 8)
        data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    return data + b"\0" * (-len(data) % 4)


def bitmap(width, height, depth, top_down):
    palette = b""
    if depth <= 8:
        palette = b"".join(bytes((i * 37 % 256, i * 91 % 256, i * 13 % 256, 0))
                           for i in range(1 << depth))
    rows = range(height) if top_down else reversed(range(height))
    pixels = b"".join(row_bytes(width, row, depth) for row in rows)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, depth,
                       0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "corpus", "picture")
    os.makedirs(folder, exist_ok=True)
    for width, height in SIZES:
        for depth in DEPTHS:
            for top_down in (False, True):
                name = "%dx%d-%dbit-%s.bmp" % (width, height, depth,
                                               "topdown" if top_down else "bottomup")
                with open(os.path.join(folder, name), "wb") as out:
                    out.write(bitmap(width, height, depth, top_down))


if __name__ == "__main__":
    main()
