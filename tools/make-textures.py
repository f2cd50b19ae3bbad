#!/usr/bin/env python3
"""Draws the tile textures of the example palettes: one picture per colour and shade, in
data/Palettes/<palette name without "-">/<colour name>/<shade>.bmp, where the program looks
for them.

The colours, their names and the palette's texture family (how many shades a colour has)
are read from the ".pal" files themselves. Glass tiles get a glossy face with a few bubbles
and a lighter bevel, ceramic tiles a fine matt grain; every shade is a slightly lighter or
darker tile of its own grain. The pictures are deterministic: the same palette gives the
same files.

    python3 tools/make-textures.py        # rewrites the texture folders of the examples

Only the standard library is used; the outputs are committed.
"""

import os
import random
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PALETTES = os.path.join(ROOT, "data", "Palettes")
SIZE = 40

# Shades of the texture families (1: 25, 2: 10, 3: 1, 4: 4).
SHADES = {1: 25, 2: 10, 3: 1, 4: 4}
# Lightness of each shade of a four-shade family.
SHADE_LIGHTNESS = [1.0, 0.92, 1.07, 0.96]


class Reader:
    """Reads the archive form of a palette: strings, ints, bytes and doubles."""

    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, n):
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def string(self):
        if self.take(3) != b"\xff\xfe\xff":
            raise ValueError("not a Unicode string at %d" % (self.pos - 3))
        n = self.take(1)[0]
        if n == 0xFF:
            n = struct.unpack("<H", self.take(2))[0]
        return self.take(2 * n).decode("utf-16-le")

    def int(self):
        return struct.unpack("<i", self.take(4))[0]


def read_palette(path):
    r = Reader(open(path, "rb").read())
    name = r.string()
    r.string()                       # description
    r.int(), r.int(), r.int()        # cost divisor, tile size, joint width
    colours = []
    for _ in range(256):
        red, green, blue, used = r.take(4)
        colour_name = r.string()
        r.string()                   # symbol
        r.take(8)                    # value
        colours.append(((red, green, blue), used, colour_name))
    r.int()                          # format version
    r.take(92 * 256)                 # symbol fonts
    kind = r.int()
    return name, kind, [(rgb, n) for rgb, used, n in colours if used and n]


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(round(v))


def draw_tile(rgb, shade):
    """The tile whose pixel (x, y) is rgb x f + highlight, (f, highlight) = shade(x, y, edge),
    where edge is the distance to the nearest side."""
    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            f, highlight = shade(x, y, min(x, y, SIZE - 1 - x, SIZE - 1 - y))
            row.append(tuple(clamp(c * f + highlight) for c in rgb))
        pixels.append(row)
    return pixels


def glass_tile(rgb, lightness, rng):
    """A smalto: glossy face, darker rim, lighter bevel on the top left, a few bubbles."""
    bubbles = [(rng.uniform(4, SIZE - 4), rng.uniform(4, SIZE - 4), rng.uniform(0.8, 2.0))
               for _ in range(rng.randint(2, 5))]

    def shade(x, y, edge):
        f = lightness * (1.0 + rng.gauss(0, 0.035))
        if edge < 3:
            f *= 0.82 + 0.06 * edge
        # Light comes from the top left: the face brightens towards it.
        f *= 1.0 + 0.10 * (1.0 - (x + y) / (2.0 * SIZE))
        for bx, by, br in bubbles:
            if (x - bx) ** 2 + (y - by) ** 2 < br * br:
                f *= 1.12
        return f, 55.0 if 3 <= x < 9 and 3 <= y < 6 else 0.0

    return draw_tile(rgb, shade)


def ceramic_tile(rgb, lightness, rng):
    """A matt glazed tile: fine grain, a soft edge, a faint cloud of the glaze."""
    cx, cy = rng.uniform(10, 30), rng.uniform(10, 30)

    def shade(x, y, edge):
        f = lightness * (1.0 + rng.gauss(0, 0.05))
        if edge < 2:
            f *= 0.88 + 0.05 * edge
        d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        return f * (1.04 - 0.05 * min(d / SIZE, 1.0)), 0.0

    return draw_tile(rgb, shade)


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    stride = (3 * width + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def main():
    for file_name in sorted(os.listdir(PALETTES)):
        if not file_name.endswith(".pal"):
            continue
        name, kind, colours = read_palette(os.path.join(PALETTES, file_name))
        if kind not in SHADES:
            continue
        if kind in (1, 2):
            raise SystemExit("%s: families 1 and 2 store their files transformed" % name)
        draw = glass_tile if "Verre" in name else ceramic_tile
        folder = os.path.join(PALETTES, name.replace("-", ""))
        count = 0
        for index, (rgb, colour_name) in enumerate(colours):
            colour_folder = os.path.join(folder, colour_name)
            os.makedirs(colour_folder, exist_ok=True)
            for shade in range(SHADES[kind]):
                rng = random.Random("%s/%d/%d" % (name, index, shade))
                lightness = SHADE_LIGHTNESS[shade % len(SHADE_LIGHTNESS)]
                write_bmp(os.path.join(colour_folder, "%d.bmp" % (shade + 1)),
                          draw(rgb, lightness, rng))
                count += 1
        print("%s: %d textures in %s" % (name, count, os.path.relpath(folder, ROOT)))


if __name__ == "__main__":
    main()
