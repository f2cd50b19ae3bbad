#!/usr/bin/env python3
"""Draws the program's pictures: toolbar buttons, menu icons, palette-bar buttons, the
program icon and the logo of the PDF pages, and writes the toolbar resource script that
lists their commands.

Everything is drawn from simple shapes (rectangles, polygons, discs, arcs), sampled 4 x 4
times per pixel so that curves are smooth. Toolbar bitmaps have no alpha channel: a pixel
at least half covered takes the shape's colour, the others the transparent colour.

    python3 tools/make-pictures.py                  # rewrites resources/pictures/,
                                                    # resources/toolbars.rc and
                                                    # data/LogoMosaic.jpg
    python3 tools/make-pictures.py --preview DIR    # also writes enlarged PNG previews

Only the standard library is used; the outputs are committed, so the build needs no Python.
"""

import argparse
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PICTURES = os.path.join(ROOT, "resources", "pictures")
TOOLBARS_RC = os.path.join(ROOT, "resources", "toolbars.rc")
LOGO_JPG = os.path.join(ROOT, "data", "LogoMosaic.jpg")

MAGENTA = (255, 0, 255)       # the main toolbar's image lists mask this colour
BUTTON_GREY = (192, 192, 192)  # the background of classic toolbar bitmaps

# ---------------------------------------------------------------------------------------
# Shapes. Coordinates are in pixels, x to the right and y downwards; pixel (i, j) covers
# the square [i, i + 1] x [j, j + 1].

SAMPLES = 4
_OFFSETS = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]


class Shape:
    bbox = (0, 0, 0, 0)

    def inside(self, x, y):
        raise NotImplementedError

    def coverage(self, px, py):
        n = 0
        for oy in _OFFSETS:
            for ox in _OFFSETS:
                if self.inside(px + ox, py + oy):
                    n += 1
        return n / (SAMPLES * SAMPLES)

    def __or__(self, other):
        return Union(self, other)

    def __sub__(self, other):
        return Difference(self, other)

    def __and__(self, other):
        return Intersection(self, other)


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = min(x0, x1), min(y0, y1), max(x0, x1), max(y0, y1)
        self.bbox = (self.x0, self.y0, self.x1, self.y1)

    def inside(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1

    def coverage(self, px, py):
        # Exact area, so that rectangles on whole pixels stay sharp.
        w = min(self.x1, px + 1) - max(self.x0, px)
        h = min(self.y1, py + 1) - max(self.y0, py)
        return w * h if w > 0 and h > 0 else 0.0


class Polygon(Shape):
    def __init__(self, points):
        self.points = [(float(x), float(y)) for x, y in points]
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def inside(self, x, y):
        winding = 0
        pts = self.points
        for i in range(len(pts)):
            x0, y0 = pts[i]
            x1, y1 = pts[(i + 1) % len(pts)]
            if y0 <= y < y1 or y1 <= y < y0:
                cx = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                if cx > x:
                    winding += 1 if y1 > y0 else -1
        return winding != 0


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def inside(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


class Segment(Shape):
    """A stroke of the given width between two points, with round or square-cut ends."""

    def __init__(self, x0, y0, x1, y1, width, round_ends=True):
        self.a = (x0, y0)
        self.b = (x1, y1)
        self.r = width / 2.0
        self.round = round_ends
        r = self.r
        self.bbox = (min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r)

    def inside(self, x, y):
        ax, ay = self.a
        bx, by = self.b
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        t = ((x - ax) * dx + (y - ay) * dy) / length2 if length2 else 0.0
        if not self.round and (t < 0 or t > 1):
            return False
        t = max(0.0, min(1.0, t))
        qx, qy = ax + t * dx - x, ay + t * dy - y
        return qx * qx + qy * qy <= self.r * self.r


class Arc(Shape):
    """The band between two radii, from angle a0 to angle a1 in degrees (counter-clockwise
    on screen, 0 pointing right)."""

    def __init__(self, cx, cy, r_out, r_in, a0, a1):
        self.cx, self.cy, self.r_out, self.r_in = cx, cy, r_out, r_in
        self.a0, self.a1 = a0 % 360, a1 % 360
        self.full = (a1 - a0) >= 360
        self.bbox = (cx - r_out, cy - r_out, cx + r_out, cy + r_out)

    def inside(self, x, y):
        dx, dy = x - self.cx, self.cy - y
        d2 = dx * dx + dy * dy
        if d2 > self.r_out * self.r_out or d2 < self.r_in * self.r_in:
            return False
        if self.full:
            return True
        a = math.degrees(math.atan2(dy, dx)) % 360
        if self.a0 <= self.a1:
            return self.a0 <= a <= self.a1
        return a >= self.a0 or a <= self.a1


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bbox = (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
                     max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes))

    def inside(self, x, y):
        return any(s.inside(x, y) for s in self.shapes)


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def inside(self, x, y):
        return self.a.inside(x, y) and not self.b.inside(x, y)


class Intersection(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def inside(self, x, y):
        return self.a.inside(x, y) and self.b.inside(x, y)


def frame(x0, y0, x1, y1, t=1):
    """The outline of a rectangle, t pixels wide, inside its bounds."""
    return Rect(x0, y0, x1, y1) - Rect(x0 + t, y0 + t, x1 - t, y1 - t)


def inset(points, d):
    """The polygon moved inwards by d along every edge (simple, not too thin polygons)."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        ex, ey = x1 - x0, y1 - y0
        length = math.hypot(ex, ey)
        # The inward normal: with y downwards, a positive area runs clockwise on screen.
        nx, ny = -ey / length * sign, ex / length * sign
        lines.append(((x0 + nx * d, y0 + ny * d), (ex, ey)))
    result = []
    for i in range(n):
        (p, u), (q, v) = lines[i - 1], lines[i]
        den = u[0] * v[1] - u[1] * v[0]
        if abs(den) < 1e-9:
            result.append(q)
            continue
        t = ((q[0] - p[0]) * v[1] - (q[1] - p[1]) * v[0]) / den
        result.append((p[0] + u[0] * t, p[1] + u[1] * t))
    return result


# ---------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA in floats.

class Canvas:
    """crisp: each pixel is in or out by its centre alone, which keeps small pixel patterns
    sharp where smoothing would only blur them."""

    def __init__(self, w, h, crisp=False):
        self.w, self.h = w, h
        self.crisp = crisp
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def fill(self, shape, colour, alpha=1.0):
        x0, y0, x1, y1 = shape.bbox
        ix0, iy0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        ix1, iy1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        r, g, b = (c / 255.0 for c in colour)
        for y in range(iy0, iy1):
            for x in range(ix0, ix1):
                if self.crisp:
                    a = alpha if shape.inside(x + 0.5, y + 0.5) else 0.0
                else:
                    a = shape.coverage(x, y) * alpha
                if a <= 0:
                    continue
                p = self.px[y * self.w + x]
                k = 1.0 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def outlined(self, points, fill_colour, line_colour, t=1.0):
        """A polygon filled with fill_colour inside an outline t pixels wide."""
        self.fill(Polygon(points), line_colour)
        self.fill(Polygon(inset(points, t)), fill_colour)

    def rgba(self, x, y):
        r, g, b, a = self.px[y * self.w + x]
        if a <= 0:
            return (0, 0, 0, 0)
        return (round(r / a * 255), round(g / a * 255), round(b / a * 255), round(a * 255))


class Image:
    """Opaque pixels as (r, g, b) rows."""

    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.rows = [[colour] * w for _ in range(h)]

    def paste(self, other, x0, y0):
        for y in range(other.h):
            self.rows[y0 + y][x0:x0 + other.w] = other.rows[y]


def masked(canvas, background):
    """The canvas over a transparent colour: half-covered pixels count as the shape."""
    img = Image(canvas.w, canvas.h, background)
    for y in range(canvas.h):
        for x in range(canvas.w):
            r, g, b, a = canvas.rgba(x, y)
            if a >= 128:
                c = (r, g, b)
                if c == MAGENTA:
                    c = (254, 0, 254)
                img.rows[y][x] = c
    return img


def disabled(canvas, background):
    """The grey, embossed look of an unavailable button: a white copy of the shape one
    pixel down and to the right, under a grey copy whose tones follow the lightness."""
    img = Image(canvas.w, canvas.h, background)
    solid = [[canvas.rgba(x, y)[3] >= 128 for x in range(canvas.w)] for y in range(canvas.h)]
    for y in range(canvas.h):
        for x in range(canvas.w):
            if x > 0 and y > 0 and solid[y - 1][x - 1]:
                img.rows[y][x] = (255, 255, 255)
    for y in range(canvas.h):
        for x in range(canvas.w):
            if solid[y][x]:
                r, g, b, _ = canvas.rgba(x, y)
                lum = 0.299 * r + 0.587 * g + 0.114 * b
                v = round(112 + lum * 0.42)
                img.rows[y][x] = (v, v, v)
    return img


def strip(images):
    out = Image(sum(i.w for i in images), max(i.h for i in images))
    x = 0
    for i in images:
        out.paste(i, x, 0)
        x += i.w
    return out


# ---------------------------------------------------------------------------------------
# File formats.

def bmp_bytes(img):
    """A bottom-up 24-bit BMP."""
    stride = (img.w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img.rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, img.w, img.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + bytes(data)


def ico_bytes(canvases):
    """An icon file with one 32-bit image (alpha and AND mask) per canvas."""
    blobs = []
    for c in canvases:
        xor = bytearray()
        for y in reversed(range(c.h)):
            for x in range(c.w):
                r, g, b, a = c.rgba(x, y)
                xor += bytes((b, g, r, a))
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(c.h)):
            bits = bytearray(mask_stride)
            for x in range(c.w):
                if c.rgba(x, y)[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        blobs.append(info + bytes(xor) + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(canvases))
    offset = 6 + 16 * len(canvases)
    for c, blob in zip(canvases, blobs):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def png_bytes(w, h, rgb_rows):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rgb_rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A baseline JPEG (the PDF layer embeds the logo as one): 8 x 8 blocks of Y, Cb and Cr
# without subsampling, so that the letters keep their edges, and the example tables of the
# JPEG standard for quantisation and Huffman codes.

_ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48,
           41, 34, 27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15,
           23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
_LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40,
           57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24,
           35, 55, 64, 81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98,
           112, 100, 103, 99]
_CHROMA_Q = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99,
             99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32
# (code lengths 1-16, symbols) of the DC and AC tables, luminance then chrominance.
_DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
_DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
_AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a"
    "25262728292a3435363738393a434445464748494a535455565758595a636465666768696a73747576777879"
    "7a838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9"
    "cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9fa"))
_AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f1"
    "1718191a262728292a35363738393a434445464748494a535455565758595a636465666768696a7374757677"
    "78797a82838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6"
    "c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa"))


def _scaled_table(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in table]


def _huffman_codes(table):
    lengths, symbols = table
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(lengths[length - 1]):
            codes[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            self.n -= 8
            byte = (self.acc >> self.n) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
        self.acc &= (1 << self.n) - 1

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) * (math.sqrt(0.5) if u == 0 else 1.0) / 2
         for x in range(8)] for u in range(8)]


def _dct(block):
    rows = [[sum(_COS[u][x] * block[y * 8 + x] for x in range(8)) for u in range(8)]
            for y in range(8)]
    return [sum(_COS[v][y] * rows[y][u] for y in range(8)) for v in range(8) for u in range(8)]


def _magnitude(value):
    size = abs(value).bit_length()
    return size, (value if value >= 0 else value + (1 << size) - 1)


def jpeg_bytes(img, quality=92):
    """The image as a baseline JPEG file."""
    qy, qc = _scaled_table(_LUMA_Q, quality), _scaled_table(_CHROMA_Q, quality)
    tables = [(_huffman_codes(_DC_LUMA), _huffman_codes(_AC_LUMA)),
              (_huffman_codes(_DC_CHROMA), _huffman_codes(_AC_CHROMA))]
    planes = ([], [], [])
    for row in img.rows:
        for r, g, b in row:
            planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    bits = _BitWriter()
    previous = [0, 0, 0]
    for by in range(0, img.h, 8):
        for bx in range(0, img.w, 8):
            for k, plane in enumerate(planes):
                # Blocks past the picture's edge repeat its last row and column.
                block = [plane[min(by + y, img.h - 1) * img.w + min(bx + x, img.w - 1)]
                         for y in range(8) for x in range(8)]
                q = qy if k == 0 else qc
                coef = _dct(block)
                zz = [int(round(coef[_ZIGZAG[i]] / q[_ZIGZAG[i]])) for i in range(64)]
                dc_codes, ac_codes = tables[0 if k == 0 else 1]
                size, value = _magnitude(zz[0] - previous[k])
                previous[k] = zz[0]
                bits.put(*dc_codes[size])
                if size:
                    bits.put(value, size)
                run = 0
                for i in range(1, 64):
                    if zz[i] == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.put(*ac_codes[0xF0])
                        run -= 16
                    size, value = _magnitude(zz[i])
                    bits.put(*ac_codes[(run << 4) | size])
                    bits.put(value, size)
                    run = 0
                if run:
                    bits.put(*ac_codes[0x00])
    bits.flush()

    def segment(marker, data):
        return struct.pack(">BBH", 0xFF, marker, len(data) + 2) + data

    out = b"\xff\xd8" + segment(0xE0, b"JFIF\0\x01\x01\x00\x00\x48\x00\x48\x00\x00")
    for index, q in enumerate((qy, qc)):
        out += segment(0xDB, bytes([index]) + bytes(q[_ZIGZAG[i]] for i in range(64)))
    out += segment(0xC0, struct.pack(">BHHB", 8, img.h, img.w, 3)
                   + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for tc_th, (lengths, symbols) in ((0x00, _DC_LUMA), (0x10, _AC_LUMA), (0x01, _DC_CHROMA),
                                      (0x11, _AC_CHROMA)):
        out += segment(0xC4, bytes([tc_th]) + bytes(lengths) + bytes(symbols))
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    return out + bytes(bits.out) + b"\xff\xd9"


def preview(img, path, scale, transparent=None, cell=None, columns=1, face=(240, 240, 240)):
    """A PNG of the image, enlarged; a strip of cell-wide images is laid out in rows."""
    cell = cell or img.w
    count = img.w // cell
    rows_of_cells = (count + columns - 1) // columns
    gap = 2
    width = columns * (cell + gap) * scale
    height = rows_of_cells * (img.h + gap) * scale
    out = [[(90, 90, 90)] * width for _ in range(height)]
    for k in range(count):
        ox = (k % columns) * (cell + gap) * scale
        oy = (k // columns) * (img.h + gap) * scale
        for y in range(img.h):
            for x in range(cell):
                c = img.rows[y][k * cell + x]
                c = face if c == transparent else c
                for dy in range(scale):
                    line = out[oy + y * scale + dy]
                    line[ox + x * scale:ox + (x + 1) * scale] = [c] * scale
    with open(path, "wb") as f:
        f.write(png_bytes(width, height, out))


# ---------------------------------------------------------------------------------------
# Colours.

INK = (52, 56, 66)          # outlines
PAPER = (255, 255, 255)
FOLD = (196, 204, 216)
JOINT = (168, 168, 172)     # mortar between tiles
STEEL = (150, 156, 166)
STEEL_LIGHT = (206, 210, 218)
BLUE = (48, 112, 200)
BLUE_LIGHT = (150, 196, 240)
RED = (206, 58, 48)
GREEN = (56, 156, 82)
YELLOW = (242, 196, 64)
FOLDER = (236, 184, 70)
FOLDER_DARK = (196, 138, 40)
ORANGE = (236, 132, 44)
TEAL = (34, 150, 160)
WOOD = (176, 112, 58)
WOOD_DARK = (128, 76, 36)


# ---------------------------------------------------------------------------------------
# Pictures. Each function draws on a canvas of n x n pixels (16 or 32); s = n / 16 scales
# the designs, which are laid out on a 16-unit grid. Outlines stay one pixel wide.

def scaled(points, s, dx=0.0, dy=0.0):
    return [((x + dx) * s, (y + dy) * s) for x, y in points]


def page(c, s, x0, y0, x1, y1, fold=4):
    """A sheet of paper with its top right corner folded over."""
    if not fold:
        c.outlined(scaled([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], s), PAPER, INK)
        return
    c.outlined(scaled([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], s),
               PAPER, INK)
    c.outlined(scaled([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)], s), FOLD, INK)


def draw_new(c, n):
    s = n / 16
    page(c, s, 3, 1, 13, 15)
    # A spark on the corner: something new.
    cx, cy, r = 4.5 * s, 4.5 * s, (3.5 if n == 16 else 4.0) * s
    star = []
    for i in range(8):
        a = math.radians(i * 45 - 90)
        rr = r if i % 2 == 0 else r * 0.36
        star.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    c.fill(Polygon(star), ORANGE)
    c.fill(Polygon(inset(star, 0.8)), YELLOW)


def draw_open(c, n):
    s = n / 16
    c.outlined(scaled([(1, 3), (6, 3), (7, 5), (13, 5), (13, 13), (1, 13)], s), FOLDER_DARK, INK)
    c.fill(Rect(3 * s, 6 * s, 12 * s, 7 * s), PAPER)
    c.outlined(scaled([(4, 8), (15.5, 8), (13, 13.5), (1, 13.5)], s), FOLDER, INK)


def draw_save(c, n):
    s = n / 16
    c.outlined(scaled([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], s), BLUE, INK)
    c.fill(Rect(4 * s, 1 * s, 11 * s, 6 * s), INK)
    c.fill(Rect(4 * s + 1, 1 * s + 1, 11 * s - 1, 6 * s - 1), STEEL_LIGHT)
    c.fill(Rect(8 * s, 2 * s, 10 * s, 5 * s), INK)
    c.fill(Rect(3 * s, 8 * s, 13 * s, 15 * s), INK)
    c.fill(Rect(3 * s + 1, 8 * s + 1, 13 * s - 1, 15 * s), PAPER)
    for y in (10, 12):
        c.fill(Rect(5 * s, y * s, 11 * s, y * s + s / 2 + 0.5), BLUE_LIGHT)


def draw_undo(c, n):
    s = n / 16
    cx, cy = 9 * s, 10 * s
    r_out, r_in = 6 * s, 4 * s
    c.fill(Arc(cx, cy, r_out, r_in, -45, 180), BLUE)
    tip_x = cx - (r_out + r_in) / 2
    c.fill(Polygon([(tip_x - 3.5 * s, cy), (tip_x + 3.5 * s, cy), (tip_x, cy + 4 * s)]), BLUE)


def magnifier(c, s, cx, cy, r, handle_end):
    c.fill(Segment((cx + r * 0.6) * s, (cy + r * 0.6) * s, handle_end * s, handle_end * s,
                   2.6 * s), WOOD_DARK)
    c.fill(Ellipse(cx * s, cy * s, r * s), INK)
    c.fill(Ellipse(cx * s, cy * s, (r - 1.1) * s), BLUE_LIGHT)
    c.fill(Ellipse(cx * s, cy * s, (r - 1.1) * s), PAPER, 0.55)


def draw_zoom(c, n, plus):
    s = n / 16
    magnifier(c, s, 6.5, 6.5, 5.5, 14.5)
    c.fill(Rect(4 * s, 6 * s, 9 * s, 7 * s), INK)
    if plus:
        c.fill(Rect(6 * s, 4 * s, 7 * s, 9 * s), INK)


def draw_joints(c, n):
    # Tiles with the joints between them.
    s = n / 16
    c.fill(Rect(0, 0, n, n), JOINT)
    colours = [BLUE, ORANGE, GREEN, RED, YELLOW, BLUE, GREEN, BLUE, ORANGE]
    for k, colour in enumerate(colours):
        x, y = (1 + 5 * (k % 3)) * s, (1 + 5 * (k // 3)) * s
        c.fill(Rect(x, y, x + 4 * s, y + 4 * s), colour)


def draw_plates(c, n):
    # Four plates of 2 x 2 tiles, each framed.
    s = n / 16
    c.fill(Rect(1 * s, 1 * s, 16 * s, 16 * s), JOINT)
    colours = [BLUE, ORANGE, GREEN, YELLOW, TEAL, BLUE, YELLOW, GREEN]
    places = [3, 6, 10, 13]
    for j, y in enumerate(places):
        for i, x in enumerate(places):
            c.fill(Rect(x * s, y * s, (x + 2) * s, (y + 2) * s), colours[(i + 3 * j) % len(colours)])
    for k in (1, 8, 15):
        c.fill(Rect(k * s, 1 * s, (k + 1) * s, 16 * s), RED)
        c.fill(Rect(1 * s, k * s, 16 * s, (k + 1) * s), RED)


def draw_colours_symbols(c, n):
    # Tiles in colour, each with its symbol, as the combined display shows them.
    s = n / 16
    c.fill(Rect(0, 0, n, n), JOINT)
    colours = [RED, BLUE, YELLOW, GREEN]
    marks = [PAPER, PAPER, INK, PAPER]
    for k in range(4):
        i, j = k % 2, k // 2
        x, y = (1 + 8 * i) * s, (1 + 8 * j) * s
        c.fill(Rect(x, y, x + 7 * s, y + 7 * s), colours[k])
        cx, cy = x + 3.5 * s, y + 3.5 * s
        r, w = 2.5 * s, s
        if k == 0:
            c.fill(Rect(cx - r, cy - w / 2, cx + r, cy + w / 2), marks[k])
            c.fill(Rect(cx - w / 2, cy - r, cx + w / 2, cy + r), marks[k])
        elif k == 1:
            c.fill(Arc(cx, cy, r + 0.2 * s, r - w + 0.2 * s, 0, 360), marks[k])
        elif k == 2:
            c.fill(Polygon([(cx, cy - r), (cx + r + 0.5 * s, cy + r), (cx - r - 0.5 * s, cy + r)]), marks[k])
        else:
            c.fill(Rect(cx - r, cy - r, cx + r, cy - r + w), marks[k])
            c.fill(Rect(cx - r, cy + r - w, cx + r, cy + r), marks[k])


def dashed_frame(c, x0, y0, x1, y1, dash, colour_a, colour_b):
    """A one-pixel frame of alternating dashes, the marching ants of a selection."""
    x0, y0, x1, y1 = int(x0), int(y0), int(x1), int(y1)
    pts = [(x, y0) for x in range(x0, x1)] + [(x, y1 - 1) for x in range(x0, x1)]
    pts += [(x0, y) for y in range(y0 + 1, y1 - 1)] + [(x1 - 1, y) for y in range(y0 + 1, y1 - 1)]
    for x, y in pts:
        colour = colour_a if ((x + y) // dash) % 2 == 0 else colour_b
        c.fill(Rect(x, y, x + 1, y + 1), colour)


def draw_select(c, n):
    s = n / 16
    if n > 16:
        c.fill(Rect(1 * s, 1 * s, 12 * s, 10 * s), BLUE_LIGHT, 0.5)
    dashed_frame(c, 1 * s, 1 * s, 12 * s, 10 * s, 2 * s, INK, PAPER)
    arrow = [(0.5, 0.5), (0.5, 10.5), (3, 8), (4.5, 11), (6, 10.3), (4.6, 7.4), (7.6, 7.4)]
    c.outlined(scaled(arrow, s, 8, 5), PAPER, INK)


def cut_tile(c, n, part, cuts):
    """A tile with its cut lines and, in colour, the part that the tool lays."""
    s = n / 16
    a, b = 2 * s, 14 * s
    c.fill(Rect(a, a, b, b), PAPER)
    c.fill(part, BLUE)
    for cut in cuts:
        c.fill(cut, STEEL)
    c.fill(frame(a, a, b, b), INK)


def draw_whole(c, n):
    s = n / 16
    cut_tile(c, n, Rect(2 * s, 2 * s, 14 * s, 14 * s), [])


def draw_diag_half(c, n):
    s = n / 16
    a, b = 2 * s, 14 * s
    cut_tile(c, n, Polygon([(a, a), (a, b), (b, b)]), [])


def draw_half(c, n):
    s = n / 16
    a, m, b = 2 * s, 8 * s, 14 * s
    cut_tile(c, n, Rect(a, a, m, b), [Rect(m, a, m + 1, b)])


def draw_quarter(c, n):
    s = n / 16
    a, m, b = 2 * s, 8 * s, 14 * s
    cut_tile(c, n, Rect(a, a, m, m), [Rect(m, a, m + 1, b), Rect(a, m, b, m + 1)])


def draw_diag_quarter(c, n):
    s = n / 16
    a, m, b = 2 * s, 8 * s, 14 * s
    w = 1.0 if n == 16 else 1.4
    cut_tile(c, n, Polygon([(a, a), (m, m), (a, b)]),
             [Segment(m, m, b, a, w, False), Segment(m, m, b, b, w, False)])


def paint_bucket(c, s, paints):
    """A bucket brimming with paint that runs down its side; paints are the colours of the
    paint, from left to right; the last one drips."""
    c.fill(Arc(6 * s, 6 * s, 4.6 * s, 3.6 * s, 15, 165), INK)
    c.outlined(scaled([(1, 6), (11, 6), (10, 15), (2, 15)], s), STEEL_LIGHT, INK)
    band = 9.0 / len(paints)
    for k, paint in enumerate(paints):
        c.fill(Rect((1.5 + k * band) * s, 6 * s, (1.5 + (k + 1) * band) * s, 8 * s), paint)
    c.fill(Rect(1 * s, 5 * s, 11 * s, 6 * s), INK)
    c.fill(Rect(10 * s, 5 * s, 13 * s, 7 * s), paints[-1])
    c.fill(Rect(11.5 * s, 6 * s, 13 * s, 10 * s), paints[-1])
    c.fill(Ellipse(12.25 * s, 12.5 * s, 1.5 * s, 1.7 * s), paints[-1])


def draw_fill(c, n):
    paint_bucket(c, n / 16, [BLUE])


def draw_mix_fill(c, n):
    paint_bucket(c, n / 16, [RED, YELLOW, BLUE])


def draw_toggle_cells(c, n):
    # Tiles laid and tiles taken away: the cells of a region go in or out.
    s = n / 16
    colours = [GREEN, BLUE, ORANGE, BLUE, GREEN, ORANGE, GREEN, BLUE, ORANGE]
    removed = {(1, 0), (2, 0), (2, 1)}
    for j in range(3):
        for i in range(3):
            x, y = (1 + 5 * i) * s, (1 + 5 * j) * s
            if (i, j) in removed:
                dashed_frame(c, x, y, x + 4 * s, y + 4 * s, s, STEEL, PAPER)
            else:
                c.fill(Rect(x, y, x + 4 * s, y + 4 * s), INK)
                c.fill(Rect(x + 1, y + 1, x + 4 * s - 1, y + 4 * s - 1), colours[i + 3 * j])


def draw_replace(c, n):
    s = n / 16
    c.fill(Rect(1 * s, 1 * s, 8 * s, 8 * s), INK)
    c.fill(Rect(1 * s + 1, 1 * s + 1, 8 * s - 1, 8 * s - 1), RED)
    c.fill(Rect(8 * s, 8 * s, 15 * s, 15 * s), INK)
    c.fill(Rect(8 * s + 1, 8 * s + 1, 15 * s - 1, 15 * s - 1), BLUE)
    # The first colour turns into the second.
    c.fill(Rect(9 * s, 2 * s, 13 * s, 4 * s), INK)
    c.fill(Rect(11 * s, 2 * s, 13 * s, 6 * s), INK)
    c.fill(Polygon(scaled([(9, 5), (15, 5), (12, 8)], s)), INK)


def draw_brush(c, n):
    s = n / 16
    c.fill(Segment(14.2 * s, 1.8 * s, 8.6 * s, 7.4 * s, 2.6 * s), WOOD)
    c.fill(Segment(8.8 * s, 7.2 * s, 6.8 * s, 9.2 * s, 3.4 * s, False), STEEL)
    c.outlined(scaled([(5.4, 8.0), (8.0, 10.6), (5.8, 13.4), (1.0, 15.0), (2.6, 10.4)], s), BLUE, INK)


def draw_print_grids(c, n):
    # The laying plan: a sheet with the grid of the tiles to lay.
    s = n / 16
    page(c, s, 2, 1, 14, 15)
    cell = 3 if n == 16 else 6
    gx, gy = (4, 5) if n == 16 else (7, 10)
    colours = {(0, 0): BLUE, (2, 0): ORANGE, (1, 1): GREEN, (0, 2): ORANGE, (2, 2): BLUE,
               (1, 2): RED}
    for (i, j), colour in colours.items():
        c.fill(Rect(gx + i * cell, gy + j * cell, gx + (i + 1) * cell, gy + (j + 1) * cell), colour)
    for k in range(4):
        c.fill(Rect(gx + k * cell, gy, gx + k * cell + 1, gy + 3 * cell + 1), INK)
        c.fill(Rect(gx, gy + k * cell, gx + 3 * cell + 1, gy + k * cell + 1), INK)


def draw_print(c, n):
    s = n / 16
    page(c, s, 4, 1, 12, 8, 0)
    c.outlined(scaled([(1, 6), (15, 6), (15, 12), (1, 12)], s), STEEL_LIGHT, INK)
    c.fill(Rect(12 * s, 7.5 * s, 13.5 * s, 8.5 * s), GREEN)
    c.fill(Rect(4 * s, 10 * s, 12 * s, 15 * s), INK)
    c.fill(Rect(4 * s + 1, 10 * s, 12 * s - 1, 15 * s - 1), PAPER)
    c.fill(Rect(5.5 * s, 12 * s, 10.5 * s, 12 * s + s / 2 + 0.5), STEEL)


def draw_preview(c, n):
    s = n / 16
    page(c, s, 1, 1, 11, 15)
    for y in (4, 6, 8):
        c.fill(Rect(3 * s, y * s, 8 * s, y * s + s / 2 + 0.5), STEEL)
    magnifier(c, s, 9.5, 9.5, 4.0, 15.0)


def draw_copy(c, n):
    s = n / 16
    page(c, s, 1, 1, 9, 11, 3)
    page(c, s, 6, 5, 15, 15, 3)


def draw_paste(c, n):
    s = n / 16
    c.outlined(scaled([(1, 2), (12, 2), (12, 15), (1, 15)], s), WOOD, INK)
    c.fill(Rect(4 * s, 1 * s, 9 * s, 4 * s), INK)
    c.fill(Rect(4 * s + 1, 1 * s + 1, 9 * s - 1, 4 * s - 1), STEEL_LIGHT)
    page(c, s, 6, 6, 15, 15, 3)


def draw_import_image(c, n):
    s = n / 16
    c.fill(Rect(1 * s, 2 * s, 15 * s, 14 * s), INK)
    inner = Rect(1 * s + 1, 2 * s + 1, 15 * s - 1, 14 * s - 1)
    c.fill(inner, BLUE_LIGHT)
    c.fill(Ellipse(11 * s, 5.5 * s, 1.8 * s) & inner, YELLOW)
    c.fill(Polygon(scaled([(1, 14), (6, 7), (9, 11), (11, 9), (15, 13), (15, 14)], s)) & inner, GREEN)


def draw_mirror(c, n, left_right):
    # A shape and its mirror image on either side of a dashed axis.
    s = n / 16
    shape = [(6, 2), (6, 14), (0, 14)]
    image = [(15 - x, y) for x, y in shape]
    if not left_right:
        shape = [(y, x) for x, y in shape]
        image = [(y, x) for x, y in image]
    c.outlined(scaled(shape, s), BLUE, INK)
    c.outlined(scaled(image, s), PAPER, INK)
    for k in range(0, 16, 3):
        if left_right:
            c.fill(Rect(7 * s, k * s, 8 * s, (k + 2) * s), RED)
        else:
            c.fill(Rect(k * s, 7 * s, (k + 2) * s, 8 * s), RED)


def draw_help(c, n):
    s = n / 16
    c.fill(Ellipse(8 * s, 8 * s, 7.5 * s), INK)
    c.fill(Ellipse(8 * s, 8 * s, 6.5 * s), BLUE)
    w = 1.9 * s
    c.fill(Arc(8 * s, 6.2 * s, 2.9 * s, 2.9 * s - w, -90, 180), PAPER)
    c.fill(Rect(8 * s - w / 2, 8.2 * s, 8 * s + w / 2, 10.2 * s), PAPER)
    c.fill(Ellipse(8 * s, 12.2 * s, 1.15 * s), PAPER)


# Paving patterns, drawn at 16 x 16 only: a few tiles of each pattern on the joint colour,
# inside a dark frame.

PAVING_COLOURS = [BLUE, ORANGE, GREEN, RED]
INNER = Rect(1, 1, 15, 15)


def paving(draw_tiles):
    def draw_pattern(c, n):
        c.fill(Rect(0, 0, 16, 16), JOINT)
        draw_tiles(c)
        c.fill(frame(0, 0, 16, 16), INK)
    return draw_pattern


@paving
def draw_paving_squares(c):
    for j in range(3):
        for i in range(3):
            x, y = 1 + 5 * i, 1 + 5 * j
            c.fill(Rect(x, y, x + 4, y + 4), PAVING_COLOURS[(i + 2 * j) % 4])


@paving
def draw_paving_diamonds(c):
    for j in range(-1, 5):
        for i in range(-1, 4):
            cx = 4 + 8 * i + (4 if j % 2 else 0)
            cy = 4 * j
            d = Polygon([(cx + 0.5, cy - 3.5), (cx + 4.5, cy + 0.5), (cx + 0.5, cy + 4.5),
                         (cx - 3.5, cy + 0.5)])
            c.fill(d & INNER, PAVING_COLOURS[(i + 2 * j) % 4])


@paving
def draw_paving_circles(c):
    for j in range(-1, 4):
        for i in range(-1, 4):
            cx = 3.5 + 6 * i + (3 if j % 2 else 0)
            cy = 3.5 + 5 * j
            c.fill(Ellipse(cx, cy, 2.6) & INNER, PAVING_COLOURS[(i + 2 * j) % 4])


@paving
def draw_paving_triangles(c):
    for j in range(2):
        for i in range(-1, 4):
            x, y = 4 * i, 1 + 7 * j
            if (i + j) % 2 == 0:
                pts = [(x + 4, y), (x + 8, y + 7), (x, y + 7)]
            else:
                pts = [(x, y), (x + 8, y), (x + 4, y + 7)]
            c.fill(Polygon(inset(pts, 0.55)) & INNER, PAVING_COLOURS[(i + 2 * j) % 4])


@paving
def draw_paving_hexagons(c):
    for i in range(-1, 4):
        for j in range(-1, 4):
            cx = 3 + 6.5 * i
            cy = 4 + 7 * j + (3.5 if i % 2 else 0)
            pts = [(cx + 4.2 * math.cos(math.radians(60 * k)),
                    cy + 4.2 * math.sin(math.radians(60 * k))) for k in range(6)]
            c.fill(Polygon(inset(pts, 0.5)) & INNER, PAVING_COLOURS[(i + 2 * j) % 4])


def scales(c, downwards):
    # Each row lies over the top of the next one, like roof tiles, so that the round edge
    # of every scale shows. The second kind is the first turned upside down.
    for j in reversed(range(-3, 8)):
        for i in range(-1, 4):
            cx = 3 + 8 * i + (4 if j % 2 else 0)
            cy = 3 * j if downwards else 16 - 3 * j
            c.fill(Ellipse(cx, cy, 4) & INNER, INK)
            c.fill(Ellipse(cx, cy, 3) & INNER, (BLUE, BLUE_LIGHT)[j % 2])


@paving
def draw_paving_scales_1(c):
    scales(c, True)


@paving
def draw_paving_scales_2(c):
    scales(c, False)


@paving
def draw_paving_crossed(c):
    for j in range(3):
        for i in range(-1, 4):
            x, y = 1 + 5 * i + (3 if j % 2 else 0), 1 + 5 * j
            c.fill(Rect(x, y, x + 4, y + 4) & INNER, PAVING_COLOURS[(i + 3 * j) % 4])


# Palette-bar buttons: the bars paint their buttons themselves; these only stand in for
# them, a plain square for each colour button and arrows for the page buttons.

def palette_button(kind):
    c = Canvas(16, 16, crisp=True)
    c.fill(Rect(0, 0, 16, 16), BUTTON_GREY)
    if kind == "colour":
        c.fill(Rect(2, 2, 14, 14), PAPER)
        c.fill(Rect(3, 3, 14, 14), (128, 128, 128))
        c.fill(Rect(3, 3, 13, 13), (216, 216, 216))
    else:
        sign = -1 if kind == "previous" else 1
        c.fill(Rect(8 - 4 * sign, 7, 8, 9) if sign > 0 else Rect(8, 7, 12, 9), (0, 0, 0))
        c.fill(Polygon([(8 + 4.5 * sign, 8), (8, 3.5), (8, 12.5)]), (0, 0, 0))
    return c


# The icon: square tiles in a run of colours, with grey joints.

ICON_COLOURS = [(38, 94, 186), (52, 140, 214), (84, 182, 226), (240, 204, 80),
                (232, 140, 48), (204, 66, 46), (150, 40, 60)]


def draw_icon(n):
    # Sizes chosen so that every tile and joint falls on whole pixels.
    count, tile, joint, rim = {16: (3, 4, 1, 0), 32: (4, 5, 2, 1), 48: (4, 9, 2, 1)}[n]
    c = Canvas(n, n)
    r = rim + joint + (1 if n > 16 else 0)
    ground = (Rect(r, 0, n - r, n) | Rect(0, r, n, n - r)
              | Ellipse(r, r, r) | Ellipse(n - r, r, r) | Ellipse(r, n - r, r) | Ellipse(n - r, n - r, r))
    c.fill(ground, (118, 118, 124))
    c.fill(Rect(rim, rim, n - rim, n - rim) & ground, (178, 178, 184))
    # With three tiles a side the colours skip every other step, so that the run still
    # goes from blue to red.
    step = 1 if count == 4 else 1.5
    for j in range(count):
        for i in range(count):
            x = rim + joint + i * (tile + joint)
            y = rim + joint + j * (tile + joint)
            colour = ICON_COLOURS[int((i + j) * step)]
            c.fill(Rect(x, y, x + tile, y + tile), colour)
            if n >= 32:
                # A little light from the top left gives the tiles some body.
                light = tuple(min(255, v + 50) for v in colour)
                dark = tuple(max(0, v - 45) for v in colour)
                c.fill(Rect(x, y, x + tile, y + 1), light)
                c.fill(Rect(x, y + 1, x + 1, y + tile), light)
                if n > 32:
                    c.fill(Rect(x, y + tile - 1, x + tile, y + tile), dark)
                    c.fill(Rect(x + tile - 1, y + 1, x + tile, y + tile - 1), dark)
    return c


# The logo at the foot of every PDF page: a few tiles of the icon's colours and the
# program's name. The PDF layer draws it at a tenth of a point per pixel, so that its
# 880 x 200 pixels are 31 x 7.1 mm on the paper, below the page's date line.

LOGO_W, LOGO_H = 880, 200


class WideArc(Arc):
    """An arc band stretched sx times across."""

    def __init__(self, cx, cy, r_out, r_in, a0, a1, sx):
        Arc.__init__(self, cx, cy, r_out, r_in, a0, a1)
        self.sx = sx
        self.bbox = (cx - r_out * sx, cy - r_out, cx + r_out * sx, cy + r_out)

    def inside(self, x, y):
        return Arc.inside(self, self.cx + (x - self.cx) / self.sx, y)


def logo_letters(x0, baseline, x_height, cap, w):
    """"Mosaic" from strokes w pixels wide; x0 the left of the M."""
    shapes = []
    r = (x_height - w) / 2 + w / 2          # outer radius of the round letters
    mid = baseline - x_height / 2
    # M: two stems and a V down to the middle of the cap height.
    m_w = 0.95 * cap
    top = baseline - cap
    shapes += [Segment(x0 + w / 2, baseline, x0 + w / 2, top + w / 2, w, False),
               Segment(x0 + m_w - w / 2, baseline, x0 + m_w - w / 2, top + w / 2, w, False),
               Segment(x0 + w / 2, top + w / 2, x0 + m_w / 2, baseline - cap * 0.3, w),
               Segment(x0 + m_w - w / 2, top + w / 2, x0 + m_w / 2, baseline - cap * 0.3, w),
               Rect(x0, top, x0 + w, top + w / 2), Rect(x0 + m_w - w, top, x0 + m_w, top + w / 2)]
    x = x0 + m_w + 0.28 * cap
    # o
    shapes.append(Arc(x + r, mid, r, r - w, 0, 360))
    x += 2 * r + 0.2 * cap
    # s: two open bowls, the upper one opening to the lower right, the lower one to the
    # upper left, joined by the spine.
    sr, sx, t = x_height / 4 + w / 4, 1.3, w * 0.85
    cx, upper, lower = x + sr * sx, mid - sr + w / 2, mid + sr - w / 2
    rc = sr - t / 2

    def on_bowl(cy, a):
        return (cx + rc * sx * math.cos(math.radians(a)), cy - rc * math.sin(math.radians(a)))

    shapes += [WideArc(cx, upper, sr, sr - t, 25, 240, sx),
               WideArc(cx, lower, sr, sr - t, 205, 60, sx),
               Segment(*on_bowl(upper, 240), *on_bowl(lower, 60), t)]
    x += 2 * sr * sx + 0.2 * cap
    # a: a bowl with a stem on its right.
    shapes += [Arc(x + r, mid, r, r - w, 0, 360),
               Rect(x + 2 * r - w, baseline - x_height, x + 2 * r, baseline)]
    x += 2 * r + 0.2 * cap
    # i
    shapes += [Rect(x, baseline - x_height, x + w, baseline),
               Ellipse(x + w / 2, baseline - x_height - 0.6 * w - w / 2, w * 0.62)]
    x += w + 0.2 * cap
    # c: a bowl open on the right.
    shapes.append(Arc(x + r, mid, r, r - w, 45, 315))
    return shapes


def draw_logo():
    c = Canvas(LOGO_W, LOGO_H)
    c.fill(Rect(0, 0, LOGO_W, LOGO_H), PAPER)
    # Three rows of tiles on their joint, the colours running from blue to red.
    tile, joint, n = 50, 8, 3
    side = n * tile + (n + 1) * joint
    y0 = (LOGO_H - side) / 2
    c.fill(Rect(0, y0, side, y0 + side), (178, 178, 184))
    for j in range(n):
        for i in range(n):
            x = joint + i * (tile + joint)
            y = y0 + joint + j * (tile + joint)
            colour = ICON_COLOURS[int((i + j) * 1.5 + 0.5)]
            c.fill(Rect(x, y, x + tile, y + tile), colour)
            c.fill(Rect(x, y, x + tile, y + 5), tuple(min(255, v + 50) for v in colour))
    for shape in logo_letters(side + 40, 165, 92, 132, 22):
        c.fill(shape, INK)
    img = Image(LOGO_W, LOGO_H)
    for y in range(LOGO_H):
        for x in range(LOGO_W):
            img.rows[y][x] = c.rgba(x, y)[:3]
    return img


# ---------------------------------------------------------------------------------------
# What goes where.

PICTURES_BY_NAME = {
    "new": draw_new,
    "open": draw_open,
    "save": draw_save,
    "undo": draw_undo,
    "zoom-in": lambda c, n: draw_zoom(c, n, True),
    "zoom-out": lambda c, n: draw_zoom(c, n, False),
    "joints": draw_joints,
    "plates": draw_plates,
    "colours-symbols": draw_colours_symbols,
    "select": draw_select,
    "whole-tile": draw_whole,
    "diagonal-half": draw_diag_half,
    "half": draw_half,
    "quarter": draw_quarter,
    "diagonal-quarter": draw_diag_quarter,
    "mix-fill": draw_mix_fill,
    "toggle-cells": draw_toggle_cells,
    "fill": draw_fill,
    "replace-colour": draw_replace,
    "brush": draw_brush,
    "print-grids": draw_print_grids,
    "print": draw_print,
    "preview": draw_preview,
    "copy": draw_copy,
    "paste": draw_paste,
    "import-image": draw_import_image,
    "mirror-horizontal": lambda c, n: draw_mirror(c, n, True),
    "mirror-vertical": lambda c, n: draw_mirror(c, n, False),
    "help": draw_help,
    "paving-squares": draw_paving_squares,
    "paving-diamonds": draw_paving_diamonds,
    "paving-circles": draw_paving_circles,
    "paving-triangles": draw_paving_triangles,
    "paving-hexagons": draw_paving_hexagons,
    "paving-scales-1": draw_paving_scales_1,
    "paving-scales-2": draw_paving_scales_2,
    "paving-crossed": draw_paving_crossed,
}

# The main toolbar, in button order; None is a separator.
MAIN_TOOLBAR = [
    ("ID_FILE_NEW", "new"),
    ("ID_FILE_OPEN", "open"),
    None,
    ("ID_UNDO", "undo"),
    None,
    ("ID_VIEW_ZOOM_IN", "zoom-in"),
    ("ID_VIEW_ZOOM_OUT", "zoom-out"),
    None,
    ("ID_VIEW_JOINTS", "joints"),
    ("ID_VIEW_PLATES", "plates"),
    ("ID_VIEW_COLOURS_SYMBOLS", "colours-symbols"),
    None,
    ("ID_TOOL_SELECT", "select"),
    None,
    ("ID_TOOL_WHOLE_TILE", "whole-tile"),
    ("ID_TOOL_DIAGONAL_HALF_TILE", "diagonal-half"),
    ("ID_TOOL_HALF_TILE", "half"),
    ("ID_TOOL_QUARTER_TILE", "quarter"),
    ("ID_TOOL_DIAGONAL_QUARTER_TILE", "diagonal-quarter"),
    None,
    ("ID_TOOL_MIX_FILL", "mix-fill"),
    ("ID_TOOL_TOGGLE_CELLS", "toggle-cells"),
    ("ID_TOOL_FILL", "fill"),
    None,
    ("ID_TOOL_REPLACE_COLOUR", "replace-colour"),
    None,
    ("ID_TOOL_BRUSH", "brush"),
    ("ID_MOSAIC_PRINT_GRIDS", "print-grids"),
]

# The menu icons: every command of the menus that has a picture.
MENU_ICONS = [
    ("ID_FILE_NEW", "new"),
    ("ID_FILE_OPEN", "open"),
    ("ID_FILE_IMPORT_IMAGE", "import-image"),
    ("ID_FILE_SAVE", "save"),
    ("ID_FILE_PRINT", "print"),
    ("ID_FILE_PRINT_PREVIEW", "preview"),
    ("ID_UNDO", "undo"),
    ("ID_EDIT_COPY", "copy"),
    ("ID_EDIT_PASTE", "paste"),
    ("ID_EDIT_MIRROR_HORIZONTAL", "mirror-horizontal"),
    ("ID_EDIT_MIRROR_VERTICAL", "mirror-vertical"),
    ("ID_VIEW_ZOOM_IN", "zoom-in"),
    ("ID_VIEW_ZOOM_OUT", "zoom-out"),
    ("ID_VIEW_JOINTS", "joints"),
    ("ID_VIEW_PLATES", "plates"),
    ("ID_VIEW_COLOURS_SYMBOLS", "colours-symbols"),
    ("ID_TOOL_SELECT", "select"),
    ("ID_TOOL_WHOLE_TILE", "whole-tile"),
    ("ID_TOOL_DIAGONAL_HALF_TILE", "diagonal-half"),
    ("ID_TOOL_HALF_TILE", "half"),
    ("ID_TOOL_QUARTER_TILE", "quarter"),
    ("ID_TOOL_DIAGONAL_QUARTER_TILE", "diagonal-quarter"),
    ("ID_TOOL_MIX_FILL", "mix-fill"),
    ("ID_TOOL_TOGGLE_CELLS", "toggle-cells"),
    ("ID_TOOL_FILL", "fill"),
    ("ID_TOOL_REPLACE_COLOUR", "replace-colour"),
    ("ID_TOOL_BRUSH", "brush"),
    ("ID_MOSAIC_PRINT_GRIDS", "print-grids"),
    ("ID_PAVING_SQUARES", "paving-squares"),
    ("ID_PAVING_DIAMONDS", "paving-diamonds"),
    ("ID_PAVING_CIRCLES", "paving-circles"),
    ("ID_PAVING_TRIANGLES", "paving-triangles"),
    ("ID_PAVING_HEXAGONS", "paving-hexagons"),
    ("ID_PAVING_SCALES_1", "paving-scales-1"),
    ("ID_PAVING_SCALES_2", "paving-scales-2"),
    ("ID_PAVING_CROSSED_JOINTS", "paving-crossed"),
    ("ID_HELP_FINDER", "help"),
]


# Small pictures whose patterns read better sharp than smoothed.
CRISP_AT_16 = {"undo", "colours-symbols", "select", "mirror-horizontal", "mirror-vertical", "replace-colour", "whole-tile", "diagonal-half", "half", "quarter",
               "diagonal-quarter", "paving-squares", "paving-diamonds", "paving-circles",
               "paving-triangles", "paving-hexagons", "paving-scales-1", "paving-scales-2",
               "paving-crossed"}


def draw(name, n):
    c = Canvas(n, n, crisp=(n == 16 and name in CRISP_AT_16))
    PICTURES_BY_NAME[name](c, n)
    return c


def toolbar_rc(name, size, buttons):
    lines = ["%s TOOLBAR %d, %d" % (name, size, size), "BEGIN"]
    for b in buttons:
        lines.append("    SEPARATOR" if b is None else "    BUTTON %s" % b[0])
    lines.append("END")
    return "\n".join(lines)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged PNG previews there")
    args = parser.parse_args()
    os.makedirs(PICTURES, exist_ok=True)

    main_buttons = [b for b in MAIN_TOOLBAR if b is not None]
    big = [draw(name, 32) for _, name in main_buttons]
    outputs = {
        "toolbar-main.bmp": (strip([masked(c, BUTTON_GREY) for c in big]), BUTTON_GREY),
        "toolbar-images.bmp": (strip([masked(c, MAGENTA) for c in big]), MAGENTA),
        "toolbar-images-disabled.bmp": (strip([disabled(c, MAGENTA) for c in big]), MAGENTA),
        "menu-icons.bmp": (strip([masked(draw(name, 16), MAGENTA) for _, name in MENU_ICONS]),
                           MAGENTA),
        "palette-buttons.bmp": (strip([masked(palette_button(kind), BUTTON_GREY)
                                       for kind in ["colour"] * 30 + ["previous", "next"]]),
                                None),
    }
    for file_name, (img, _) in outputs.items():
        write(os.path.join(PICTURES, file_name), bmp_bytes(img))
    icons = [draw_icon(n) for n in (16, 32, 48)]
    write(os.path.join(PICTURES, "mosaic.ico"), ico_bytes(icons))

    rc = "\n".join([
        "// The toolbars and the pictures of the main window. Written by tools/make-pictures.py,",
        "// which draws the pictures from the same lists: change them there and run it again.",
        "#include <windows.h>",
        '#include "resource.h"',
        "",
        "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL",
        "",
        "// The main toolbar: 32 x 32 buttons, the images in bitmap 128 (on the classic grey),",
        "// and in bitmaps 255 (normal and hot) and 259 (unavailable) with magenta as transparent.",
        toolbar_rc("IDR_MAINFRAME", 32, MAIN_TOOLBAR),
        'IDR_MAINFRAME BITMAP "pictures/toolbar-main.bmp"',
        'IDB_TOOLBAR_IMAGES BITMAP "pictures/toolbar-images.bmp"',
        'IDB_TOOLBAR_DISABLED BITMAP "pictures/toolbar-images-disabled.bmp"',
        "",
        "// The menu icons: 16 x 16, the colour of the top-left pixel is transparent.",
        toolbar_rc("IDR_MENU_ICONS", 16, MENU_ICONS),
        'IDR_MENU_ICONS BITMAP "pictures/menu-icons.bmp"',
        "",
        "// The palette bars draw their own buttons; these 16 x 16 images only stand in for them.",
        'IDB_IMAGE_PALETTE_BAR BITMAP "pictures/palette-buttons.bmp"',
        'IDB_TILE_PALETTE_BAR BITMAP "pictures/palette-buttons.bmp"',
        "",
        'IDR_MAINFRAME ICON "pictures/mosaic.ico"',
        "",
    ])
    write(TOOLBARS_RC, rc.encode("ascii"))
    logo = draw_logo()
    write(LOGO_JPG, jpeg_bytes(logo))

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for file_name, (img, transparent) in outputs.items():
            base = os.path.join(args.preview, file_name[:-4])
            preview(img, base + ".png", 1, transparent)
            cell = img.h
            preview(img, base + "-large.png", 160 // cell, transparent, cell, 6)
        for c in icons:
            img = Image(c.w, c.h)
            for y in range(c.h):
                for x in range(c.w):
                    r, g, b, a = c.rgba(x, y)
                    k = a / 255
                    img.rows[y][x] = tuple(round(v * k + 240 * (1 - k)) for v in (r, g, b))
            preview(img, os.path.join(args.preview, "icon-%d-x6.png" % c.w), 6)
            preview(img, os.path.join(args.preview, "icon-%d.png" % c.w), 1)
        preview(logo, os.path.join(args.preview, "logo.png"), 1)


if __name__ == "__main__":
    main()
