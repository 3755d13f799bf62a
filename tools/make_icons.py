#!/usr/bin/env python3
"""Makes the page's icons from the game's own art: the avatar (a 24-bit BMP), cut to the centred
disc the game shows it in, enlarged pixel for pixel.

Usage: python3 tools/make_icons.py AVATAR.bmp OUTPUT-FOLDER   (writes icon-64.png, icon-192.png
and icon-512.png)
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    if bits != 24:
        sys.exit(f'{path}: a 24-bit bitmap is expected, not {bits}-bit')
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        row = data[offset + y * stride:offset + y * stride + width * 3]
        rows.append([(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]) for x in range(width)])
    return width, (rows[::-1] if height > 0 else rows)


def icon(width, rows, size):
    """RGBA rows of the picture enlarged to size, transparent outside its disc."""
    radius = width / 2
    out = []
    for y in range(size):
        sy = y * width // size
        line = bytearray()
        for x in range(size):
            sx = x * width // size
            inside = (sx + 0.5 - radius) ** 2 + (sy + 0.5 - radius) ** 2 <= radius * radius
            line += bytes(rows[sy][sx]) + bytes([255 if inside else 0])
        out.append(bytes(line))
    return out


def write_png(path, size, rows):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + row for row in rows)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
                  + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    width, rows = read_bmp(sys.argv[1])
    for size in (64, 192, 512):
        write_png(f'{sys.argv[2]}/icon-{size}.png', size, icon(width, rows, size))


main()
