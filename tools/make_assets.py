#!/usr/bin/env python3
"""Draws Quillfen's bitmaps: the hero, the spiky blob, the crate, the sun emblem and the dusk backdrop.

Usage: python3 tools/make_assets.py [output-folder]   (default: assets/ beside tools/)

Every file is an uncompressed 24-bit BMP and the output is identical on every run.
The game cuts the four square pictures to a centred disc, so their figures stay inside it.
"""
import math
import os
import random
import struct
import sys

OUTLINE = (18, 12, 26)
_l = (-0.45, -0.6, 0.66)
LIGHT = tuple(c / math.sqrt(sum(v * v for v in _l)) for c in _l)


class Canvas:
    """A top-down RGB picture plus a mask of the pixels that belong to the figure."""

    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]
        self.mask = [[False] * w for _ in range(h)]

    def put(self, x, y, color, solid=True):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = tuple(max(0, min(255, int(round(c)))) for c in color)
            self.mask[y][x] = self.mask[y][x] or solid


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def scale(color, k):
    return tuple(c * k for c in color)


def ellipse(cv, cx, cy, rx, ry, color, shade=True, solid=True, shadow=None):
    """Fills an ellipse; shaded ones get a banded, top-left lit ball look fading into shadow."""
    dark, bright = shadow or scale(color, 0.55), scale(color, 1.15)
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
            d2 = dx * dx + dy * dy
            if d2 > 1.0:
                continue
            if shade:
                lit = max(0.0, dx * LIGHT[0] + dy * LIGHT[1] + math.sqrt(1.0 - d2) * LIGHT[2])
                cv.put(x, y, mix(dark, bright, round(lit * 4) / 4), solid)
            else:
                cv.put(x, y, color, solid)


def polygon(cv, pts, color, solid=True):
    """Fills a polygon by testing every pixel centre in its bounding box."""
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        for x in range(int(min(xs)), int(max(xs)) + 1):
            px, py, inside = x + 0.5, y + 0.5, False
            for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                if (y0 > py) != (y1 > py) and px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
                    inside = not inside
            if inside:
                cv.put(x, y, color, solid)


def ring(cv, cx, cy, r0, r1, color, a0=0.0, a1=360.0, solid=True):
    """Fills the part of an annulus between angles a0..a1 (degrees, 0 = right, 90 = down)."""
    for y in range(int(cy - r1) - 1, int(cy + r1) + 2):
        for x in range(int(cx - r1) - 1, int(cx + r1) + 2):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            ang = math.degrees(math.atan2(dy, dx)) % 360
            if r0 <= math.hypot(dx, dy) <= r1 and a0 <= ang <= a1:
                cv.put(x, y, color, solid)


def outline(cv, color=OUTLINE):
    """Draws a one pixel border around everything marked as figure."""
    edge = [(x, y) for y in range(cv.h) for x in range(cv.w) if not cv.mask[y][x] and any(
        0 <= x + dx < cv.w and 0 <= y + dy < cv.h and cv.mask[y + dy][x + dx]
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
    for x, y in edge:
        cv.put(x, y, color)


def backdrop(size, inner, outer):
    """A square canvas with a soft radial glow filling the disc the game keeps."""
    cv = Canvas(size, size)
    r = size / 2
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - r, y + 0.5 - r) / r
            if d <= 1.0:
                cv.put(x, y, mix(inner, outer, round(d * 6) / 6), solid=False)
    return cv


def draw_hero():
    """A round teal quill-bird facing right, with a crest of red and gold quills."""
    cv = backdrop(64, (34, 42, 74), (10, 12, 26))
    for tip, color in (((17, 6), (220, 60, 60)), ((28, 3), (250, 200, 60)), ((38, 6), (220, 60, 60))):
        polygon(cv, [(25, 22), tip, (33, 21)], color)
    polygon(cv, [(15, 36), (5, 30), (8, 44)], (40, 120, 160))
    for fx in (25, 34):
        polygon(cv, [(fx, 51), (fx + 4, 51), (fx + 5, 57), (fx - 1, 57)], (240, 150, 40))
    ellipse(cv, 31, 36, 18, 17, (70, 180, 210))
    ellipse(cv, 35, 42, 10, 8, (245, 230, 185))
    ellipse(cv, 22, 39, 8, 6, (40, 125, 165))
    polygon(cv, [(46, 30), (57, 34), (46, 36)], (250, 170, 50))
    polygon(cv, [(46, 36), (54, 36), (46, 39)], (200, 110, 30))
    ellipse(cv, 38, 29, 5, 6, (250, 250, 250), shade=False)
    ellipse(cv, 40, 30, 2, 3, (20, 20, 30), shade=False)
    cv.put(40, 28, (255, 255, 255))
    outline(cv)
    return cv


def draw_enemy():
    """A crimson blob with a crown of purple spikes, angry eyes and fangs."""
    cv = backdrop(64, (60, 20, 44), (14, 6, 14))
    cx, cy = 32, 36
    for deg in range(160, 400, 30):
        a = math.radians(deg)
        ca, sa = math.cos(a), math.sin(a)
        base = [(cx + 17 * math.cos(a + s), cy + 14 * math.sin(a + s)) for s in (-0.28, 0.28)]
        polygon(cv, [base[0], (cx + 28 * ca, cy + 26 * sa), base[1]], (130, 45, 150))
    ellipse(cv, cx, cy, 21, 17, (215, 50, 90))
    for ex, flip in ((24, 1), (40, -1)):
        ellipse(cv, ex, 32, 5, 5, (255, 240, 200), shade=False)
        ellipse(cv, ex + flip, 33, 2, 2.5, (120, 0, 30), shade=False)
        polygon(cv, [(ex - 7 * flip, 24), (ex + 5 * flip, 28), (ex + 5 * flip, 30), (ex - 7 * flip, 27)], OUTLINE)
    ellipse(cv, cx, 44, 10, 5, (50, 8, 24), shade=False)
    for fx in (25, 30, 35):
        polygon(cv, [(fx, 40), (fx + 4, 40), (fx + 2, 45)], (245, 240, 230))
    outline(cv)
    return cv


def draw_crate():
    """A wooden crate with a dark frame, planks, a diagonal brace and corner nails."""
    cv = backdrop(64, (46, 40, 34), (12, 10, 10))
    lo, hi = 12, 52
    for y in range(lo, hi):
        for x in range(lo, hi):
            light = 1.1 - 0.35 * ((x - lo) + (y - lo)) / (2 * (hi - lo))
            frame = min(x - lo, y - lo, hi - 1 - x, hi - 1 - y) < 5
            brace = abs((x - lo) - (hi - 1 - y)) < 4 and not frame
            if frame or brace:
                color = (150, 92, 44) if (x + y) % 9 else (130, 78, 36)
            else:
                color = (190, 125, 62) if (y - lo) % 10 else (120, 76, 36)
            cv.put(x, y, scale(color, light))
    for nx, ny in ((lo + 2, lo + 2), (hi - 3, lo + 2), (lo + 2, hi - 3), (hi - 3, hi - 3)):
        cv.put(nx, ny, (225, 220, 200))
        cv.put(nx + 1, ny + 1, (70, 60, 50))
    outline(cv)
    return cv


def draw_sun_emblem():
    """A smiling sun with long and short rays on a night-blue medallion with a gold rim."""
    cv = backdrop(128, (40, 52, 110), (14, 16, 44))
    c = 64
    ring(cv, c, c, 58, 63.5, (200, 150, 50))
    ring(cv, c, c, 56, 58, OUTLINE)
    ring(cv, c, c, 59, 60, (250, 210, 110), 180, 270)
    for i in range(16):
        a = math.radians(i * 22.5)
        reach, color = (52, (250, 150, 40)) if i % 2 == 0 else (43, (255, 200, 70))
        side = [(c + 28 * math.cos(a + s), c + 28 * math.sin(a + s)) for s in (-0.16, 0.16)]
        polygon(cv, [side[0], (c + reach * math.cos(a), c + reach * math.sin(a)), side[1]], color)
    ellipse(cv, c, c, 30, 30, (255, 205, 70), shadow=(225, 110, 35))
    for ex in (53, 75):
        ring(cv, ex, 60, 4, 6, (110, 50, 20), 190, 350)
        ellipse(cv, ex - 2, 71, 4, 2.5, (250, 140, 90), shade=False)
    ring(cv, c, 68, 10, 12.5, (110, 50, 20), 25, 155)
    outline(cv)
    return cv


def ridge(x, layers, base):
    """Height of a mountain line at column x: a base row lifted by layered sine waves."""
    return base - sum(amp * (1 - abs(math.sin(x * freq + phase))) ** sharp for amp, freq, phase, sharp in layers)


def draw_level():
    """The dusk backdrop: sky, moon, stars, clouds, two mountain ranges, wooded hills and ground."""
    w, h, ground = 1000, 180, 172
    rng = random.Random(1977)
    cv = Canvas(w, h)
    sky = [(16, 14, 44), (52, 30, 88), (130, 56, 110), (230, 120, 80), (250, 190, 110)]
    for y in range(h):
        t = min(1.0, y / 150) * (len(sky) - 1)
        band = mix(sky[int(t)], sky[min(int(t) + 1, len(sky) - 1)], round((t % 1) * 8) / 8)
        for x in range(w):
            cv.px[y][x] = tuple(int(c) for c in band)
    for _ in range(220):
        x, y = rng.randrange(w), int(rng.random() ** 1.6 * 75)
        cv.put(x, y, mix((255, 250, 220), cv.px[y][x], y / 90 + rng.random() * 0.3))
    ellipse(cv, 150, 30, 11, 10, (245, 235, 205))
    for mx, my, r in ((146, 27, 2.5), (155, 34, 2), (152, 24, 1.5)):
        ellipse(cv, mx, my, r, r, (200, 190, 170), shade=False)
    draw_clouds(cv, rng)
    far = [(44, 0.0061, 0.4, 2.5), (26, 0.017, 1.3, 2), (9, 0.051, 2.1, 1)]
    near = [(16, 0.009, 2.6, 0.7), (9, 0.023, 0.2, 1), (4, 0.07, 1.0, 1)]
    for x in range(w):
        top = int(ridge(x, far, 150))
        for y in range(top, ground):
            snow = y - top < 4 and top < 112
            rim = y - top < 2
            cv.put(x, y, (214, 196, 222) if snow else (112, 70, 120) if rim else mix((88, 56, 110), (58, 36, 80), min(1, (y - top) / 50)))
        hill = int(ridge(x, near, 174))
        for y in range(hill, ground):
            cv.put(x, y, (52, 30, 58) if y == hill else (34, 20, 44))
    draw_trees(cv, rng, near, ground)
    for y in range(ground, h):
        for x in range(w):
            grit = (x * 7 + y * 13) % 11 == 0
            cv.put(x, y, (74, 52, 40) if y == ground else (48, 34, 28) if grit else (32, 22, 20))
    return cv


def draw_clouds(cv, rng):
    """Flat-bottomed puffs lit pink from above and shadowed violet underneath."""
    for cx in range(40, cv.w, 95):
        cx += rng.randrange(-25, 25)
        cy = rng.randrange(40, 100)
        puffs = [(cx, cy - 3, rng.randrange(9, 18), rng.randrange(5, 9))]
        for _ in range(rng.randrange(2, 7)):
            puffs.append((cx + rng.randrange(-24, 24), cy + rng.randrange(-3, 1), rng.randrange(6, 14), rng.randrange(3, 6)))
        for y in range(cy - 12, cy + 3):
            for x in range(cx - 36, cx + 36):
                if any(((x - px) / rx) ** 2 + ((y - py) / ry) ** 2 <= 1 for px, py, rx, ry in puffs):
                    cv.put(x, y, (250, 185, 165) if y < cy - 5 else (220, 135, 145) if y < cy - 1 else (150, 85, 125))


def draw_trees(cv, rng, near, ground):
    """Groups of pine silhouettes standing on the near hills, with bare stretches in between."""
    x = 10
    while x < cv.w:
        for _ in range(rng.randrange(2, 7)):
            base, tall = ridge(x, near, 174) + 2, rng.randrange(8, 16)
            polygon(cv, [(x - tall * 0.3, base), (x + 0.5, base - tall), (x + 1 + tall * 0.3, base)], (26, 14, 34))
            x += rng.randrange(3, 8)
        x += rng.randrange(40, 110)


def save_bmp(cv, path):
    """Writes an uncompressed 24-bit bottom-up BMP with 4-byte aligned rows."""
    pad = b"\0" * ((4 - cv.w * 3 % 4) % 4)
    data = bytearray()
    for row in reversed(cv.px):
        for r, g, b in row:
            data += bytes((b, g, r))
        data += pad
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(data), 2835, 2835, 0, 0))
        f.write(data)


def check_bmp(path, w, h):
    """Reads the headers back and fails loudly if the file is not what the game expects."""
    with open(path, "rb") as f:
        blob = f.read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", blob, 0)
    hsize, bw, bh, planes, bpp, comp = struct.unpack_from("<IiiHHI", blob, 14)
    row = (w * 3 + 3) & ~3
    ok = (magic, size, offset, hsize, bw, bh, planes, bpp, comp) == (b"BM", len(blob), 54, 40, w, h, 1, 24, 0)
    if not ok or len(blob) != 54 + row * h:
        sys.exit("bad bitmap written: " + path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    os.makedirs(out, exist_ok=True)
    pictures = {"bitmap.bmp": draw_hero, "bitmap1.bmp": draw_enemy, "bitmap2.bmp": draw_crate,
                "tile.bmp": draw_sun_emblem, "level.bmp": draw_level}
    for name, draw in pictures.items():
        cv = draw()
        path = os.path.join(out, name)
        save_bmp(cv, path)
        check_bmp(path, cv.w, cv.h)


if __name__ == "__main__":
    main()
