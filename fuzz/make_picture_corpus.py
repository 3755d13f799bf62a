#!/usr/bin/env python3
"""Writes the seed corpus of the picture fuzzer: small valid Windows bitmaps of every depth
the loader reads (1, 4, 8, 16, 24 and 32 bits), stored bottom-up and top-down, and the cases
where the loader has rules of its own: bit-field masks, larger and older headers, short
palettes, run-length encoding, all-clear alpha, odd depths and files cut short. The decoder
test reads them all through both decoders. The files named found-*.bmp are inputs on which the
fuzzer once found the two decoders apart; they are kept, not written here.

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


def info_header(width, height, depth, compression=0, colours=0, size=40, masks=()):
    fields = struct.pack("<IiiHHIIiiII", size, width, height, 1, depth, compression, 0, 2835,
                         2835, colours, 0)
    extra = b"".join(struct.pack("<I", mask) for mask in masks)
    return (fields + extra + b"\0" * size)[:max(size, 40 + len(extra))]


def file_of(info, body, offset=None):
    """The file header, `info` (header and whatever precedes the pixels) and `body`."""
    start = 14 + len(info) if offset is None else offset
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, start) + info + body


def packed_rows(width, height, depth, value):
    """Rows of pixel values value(column, row), bottom row first, padded to 4 bytes."""
    return b"".join(row_bytes_of([value(c, r) for c in range(width)], depth)
                    for r in reversed(range(height)))


def row_bytes_of(values, depth):
    if depth >= 8:
        data = b"".join(v.to_bytes(depth // 8, "little") for v in values)
    else:
        bits = "".join(format(v, "0%db" % depth) for v in values)
        bits += "0" * (-len(bits) % 8)
        data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    return data + b"\0" * (-len(data) % 4)


def palette_of(count, entry=4):
    return b"".join(bytes((i * 37 % 256, i * 91 % 256, i * 13 % 256, 7))[:entry]
                    for i in range(count))


MASKS_16 = [(0x7C00, 0x03E0, 0x001F, 0), (0x001F, 0x03E0, 0x7C00, 0),
            (0x0F00, 0x00F0, 0x000F, 0xF000), (0xF000, 0x0F00, 0x00F0, 0x000F),
            (0x000F, 0x00F0, 0x0F00, 0xF000), (0x00F0, 0x0F00, 0xF000, 0x000F),
            (0x7C00, 0x03E0, 0x001F, 0x8000), (0xF800, 0x07C0, 0x003E, 0x0001),
            (0x001F, 0x03E0, 0x7C00, 0x8000), (0x003E, 0x07C0, 0xF800, 0x0001),
            (0xF800, 0x07E0, 0x001F, 0), (0x001F, 0x07E0, 0xF800, 0),
            (0x0F00, 0x00F0, 0x000F, 0), (0x000F, 0x00F0, 0x0F00, 0), (0, 0, 0, 0),
            (0x7C00, 0x03E0, 0x001F, 0x0001), (0, 0x03E0, 0x001F, 0)]
MASKS_32 = [(0x00FF0000, 0x0000FF00, 0x000000FF, 0), (0xFF000000, 0x00FF0000, 0x0000FF00, 0),
            (0x000000FF, 0x0000FF00, 0x00FF0000, 0), (0x0000FF00, 0x00FF0000, 0xFF000000, 0),
            (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000),
            (0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF),
            (0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000),
            (0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF),
            (0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000), (0, 0, 0, 0),
            (0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF), (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF)]
MASKS_24 = [(0x000000FF, 0x0000FF00, 0x00FF0000, 0), (0x00FF0000, 0x1, 0x2, 0),
            (0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF), (0xFF00, 0xFF, 0xFF0000, 0)]


def noise(c, r, bits):
    return (c * 2654435761 + r * 40503 + 12345) % (1 << bits)


def bitfield_cases():
    """Masks in a 56-byte header, after a 40-byte one (3 masks) and in a V4 and V5 header."""
    cases = {}
    for depth, table in ((16, MASKS_16), (32, MASKS_32), (24, MASKS_24), (8, [(0xE0, 0x1C, 0x03, 0)])):
        for index, masks in enumerate(table):
            body = packed_rows(5, 3, depth, lambda c, r: noise(c, r, depth))
            cases["bitfields-%d-%02d-v3.bmp" % (depth, index)] = file_of(
                info_header(5, 3, depth, 3, size=56, masks=masks), body)
            cases["bitfields-%d-%02d-v1.bmp" % (depth, index)] = file_of(
                info_header(5, -3, depth, 3, masks=masks[:3]), body)
    for index, masks in enumerate(MASKS_16[:2] + MASKS_16[6:8]):
        cases["bitfields-15-%02d.bmp" % index] = file_of(
            info_header(3, 2, 15, 3, size=56, masks=masks), packed_rows(3, 2, 16, lambda c, r: noise(c, r, 16)))
    for size in (52, 64, 108, 124):
        masks = (0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF)
        body = packed_rows(4, 2, 32, lambda c, r: noise(c, r, 32))
        cases["bitfields-32-header%d.bmp" % size] = file_of(
            info_header(4, 2, 32, 3, size=size, masks=masks[:(size - 40) // 4]), body)
        cases["rgb-32-header%d.bmp" % size] = file_of(
            info_header(4, 2, 32, 0, size=size, masks=masks[:(size - 40) // 4]), body)
    cases["bitfields-16-masks-cut-short.bmp"] = file_of(info_header(1, 1, 16, 3, size=56), b"")[:60]
    return cases


def alpha_cases():
    cases = {}
    for name, alpha in (("clear", lambda c, r: 0), ("one-visible", lambda c, r: c == 2 and r == 1),
                        ("mixed", lambda c, r: (c * 50 + r * 30) % 256)):
        body = packed_rows(5, 3, 32, lambda c, r: int(alpha(c, r)) << 24 | noise(c, r, 24))
        cases["alpha-%s.bmp" % name] = file_of(info_header(5, 3, 32), body)
        cases["alpha-%s-bitfields.bmp" % name] = file_of(
            info_header(5, 3, 32, 3, size=56, masks=MASKS_32[4]), body)
    return cases


def palette_cases():
    cases = {}
    for depth in (1, 2, 4, 8):
        for colours in (1, 3, 300, 0):
            values = lambda c, r: (c + r) % (1 << depth)
            info = info_header(6, 2, depth, 0, colours) + palette_of(min(colours or 256, 1 << depth))
            cases["palette-%d-bit-%d-colours.bmp" % (depth, colours)] = file_of(
                info, packed_rows(6, 2, depth, values))
        # A palette that runs past the pixels' start and past the end of the file.
        cases["palette-%d-bit-runs-out.bmp" % depth] = file_of(
            info_header(3, 1, depth, 0, 0) + palette_of(1), packed_rows(3, 1, depth, lambda c, r: c))
        # The oldest header: 3-byte colours, unsigned sizes.
        core = struct.pack("<IHHHH", 12, 6, 2, 1, depth) + palette_of(1 << depth, 3)
        cases["core-header-%d-bit.bmp" % depth] = file_of(core, packed_rows(6, 2, depth, lambda c, r: (c * 3 + r) % (1 << depth)))
    cases["palette-8-bit-every-index.bmp"] = file_of(
        info_header(16, 16, 8) + palette_of(256), packed_rows(16, 16, 8, lambda c, r: r * 16 + c))
    core24 = struct.pack("<IHHHH", 12, 3, 2, 1, 24)
    cases["core-header-24-bit.bmp"] = file_of(core24, packed_rows(3, 2, 24, lambda c, r: noise(c, r, 24)))
    cases["bitfields-8-bit-rgb332-packed-4.bmp"] = file_of(
        info_header(4, 1, 4, 3, 2, masks=(0xE0, 0x1C, 0x03)), packed_rows(4, 1, 4, lambda c, r: 0))
    return cases


def rle_cases():
    cases = {}
    rle8 = bytes([3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 2, 1, 1, 2, 0, 4, 9, 0, 1, 2, 0, 2, 1, 1, 2, 3, 0, 1])
    rle4 = bytes([5, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 0, 2, 2, 0, 3, 0xAB, 0, 1])
    info8 = info_header(6, 4, 8, 1, 16) + palette_of(16)
    info4 = info_header(6, 4, 4, 2, 16) + palette_of(16)
    cases["rle8.bmp"] = file_of(info8, rle8)
    cases["rle8-no-end.bmp"] = file_of(info8, rle8[:-2])
    cases["rle8-off-the-picture.bmp"] = file_of(info8, bytes([0, 2, 9, 1, 200, 3, 0, 2, 0, 9, 4, 4, 0, 1]))
    cases["rle8-24-bit.bmp"] = file_of(info_header(3, 2, 24, 1), rle8)
    cases["rle8-top-down.bmp"] = file_of(info_header(6, -4, 8, 1, 16) + palette_of(16), rle8)
    # Run-length data is not checked against the palette.
    cases["rle8-index-past-palette.bmp"] = file_of(
        info_header(4, 1, 8, 1, 2) + palette_of(2), bytes([2, 1, 2, 9, 0, 1]))
    cases["rle4.bmp"] = file_of(info4, rle4)
    cases["rle4-no-end.bmp"] = file_of(info4, rle4[:-1])
    cases["rle4-cut-in-absolute-run.bmp"] = file_of(info4, rle4[:5])
    return cases


def odd_cases():
    cases = {}
    for depth in (0, 2, 3, 7, 9, 12, 15, 64):
        cases["depth-%d.bmp" % depth] = file_of(info_header(4, 2, depth), bytes(range(64)))
    for compression in (4, 5, 6, 7):
        cases["compression-%d.bmp" % compression] = file_of(
            info_header(2, 2, 32, compression), packed_rows(2, 2, 32, lambda c, r: noise(c, r, 32)))
    cases["width-negative.bmp"] = file_of(info_header(-3, 2, 24), bytes(64))
    cases["height-zero.bmp"] = file_of(info_header(3, 0, 24), bytes(64))
    cases["header-20-bytes.bmp"] = file_of(info_header(3, 2, 24, size=20), bytes(64))
    cases["header-huge.bmp"] = file_of(info_header(3, 2, 24)[:36] + struct.pack("<I", 0x80000000)[:0], bytes(64))
    big = bytearray(file_of(info_header(2, 2, 8, 0, 2) + palette_of(2), bytes(16)))
    big[14:18] = struct.pack("<I", 0x80000010)
    cases["header-size-beyond-2-gib.bmp"] = bytes(big)
    big[14:18] = struct.pack("<I", 0x00100000)
    cases["header-size-1-mib.bmp"] = bytes(big)
    body = packed_rows(5, 3, 24, lambda c, r: noise(c, r, 24))
    cases["pixels-missing-last-pad.bmp"] = file_of(info_header(5, 3, 24), body[:-1])
    cases["pixels-offset-past-end.bmp"] = file_of(info_header(5, 3, 24), body, 200)
    cases["pixels-offset-beyond-2-gib.bmp"] = file_of(info_header(5, 3, 24), body, 0x80000000)
    cases["pixels-offset-inside-header.bmp"] = file_of(info_header(5, 3, 24), body, 20)
    for depth in (1, 2, 4, 8):
        full = file_of(info_header(9, 2, depth, 0, 2) + palette_of(2), packed_rows(9, 2, depth, lambda c, r: 1))
        cases["pixels-cut-%d-bit.bmp" % depth] = full[:-3]
    return cases


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
    for cases in (bitfield_cases(), alpha_cases(), palette_cases(), rle_cases(), odd_cases()):
        for name, data in cases.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
