#!/usr/bin/env python3
"""Shrinks an 8-bit RGB PNG (as quillfen-replay --map writes them) by a whole factor,
averaging each square of factor x factor pixels. Standard library only.

    tools/shrink_png.py assets/world.png docs/world-map.png 2
"""

import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 2 or interlace != 0:
        sys.exit(f"{path}: only 8-bit RGB PNG files without interlacing are handled")
    return width, height, unfilter(zlib.decompress(idat), width, height)


def unfilter(raw, width, height):
    stride, rows, previous, pos = width * 3, [], bytearray(width * 3), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - 3] if i >= 3 else 0
            up = previous[i]
            corner = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + guess) & 255
        rows.append(line)
        previous = line
    return rows


def shrink(width, height, rows, factor):
    small_width, small_height, result = width // factor, height // factor, []
    for y in range(small_height):
        line = bytearray()
        for x in range(small_width):
            for channel in range(3):
                total = sum(rows[y * factor + dy][(x * factor + dx) * 3 + channel]
                            for dy in range(factor) for dx in range(factor))
                line.append(total // (factor * factor))
        result.append(line)
    return small_width, small_height, result


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\x00" + bytes(line) for line in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: shrink_png.py IN.png OUT.png FACTOR")
    factor = int(sys.argv[3])
    width, height, rows = read_png(sys.argv[1])
    write_png(sys.argv[2], *shrink(width, height, rows, factor))


if __name__ == "__main__":
    main()
