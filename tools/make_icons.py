#!/usr/bin/env python3
"""Draws the suite's icons and writes them as Windows .ico files.

    python3 tools/make_icons.py <name> <output.ico>

Names: claverix (generator), sellomar (protector), sclav (protected documents), portaclip (loader).

Everything is drawn here from simple shapes described by signed distance functions, in a design
space of 128 x 128 units whatever the pixel size. A pixel far from a shape's edge is taken as fully
in or out; a pixel near the edge is sampled 4 x 4 times, which gives smooth edges at little cost.
Only the standard library is used, and the output is the same bytes on every run.
"""

import math
import os
import struct
import sys
import zlib

DESIGN = 128.0
SUB = 4  # supersampling per axis on edge pixels


# ---------------------------------------------------------------------------------------------------
# Shapes: d(x, y) is the signed distance in design units (negative inside), or a lower bound of it;
# bbox is (x0, y0, x1, y1) in design units and encloses the inside.


class Shape:
    __slots__ = ("d", "bbox")

    def __init__(self, d, bbox):
        self.d = d
        self.bbox = bbox


def circle(cx, cy, r):
    def d(x, y):
        return math.hypot(x - cx, y - cy) - r
    return Shape(d, (cx - r, cy - r, cx + r, cy + r))


def rrect(x0, y0, x1, y1, r=0.0):
    """Rectangle with corners rounded by r."""
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    hx, hy = (x1 - x0) * 0.5 - r, (y1 - y0) * 0.5 - r

    def d(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        if qx > 0.0:
            if qy > 0.0:
                return math.hypot(qx, qy) - r
            return qx - r
        if qy > 0.0:
            return qy - r
        return (qx if qx > qy else qy) - r
    return Shape(d, (x0, y0, x1, y1))


def polygon(points):
    """Any simple polygon (exact distance, sign by crossing count)."""
    pts = [(float(px), float(py)) for px, py in points]
    edges = []
    for i, (vx, vy) in enumerate(pts):
        ux, uy = pts[i - 1]
        ex, ey = ux - vx, uy - vy
        edges.append((vx, vy, ux, uy, ex, ey, ex * ex + ey * ey))

    def d(x, y):
        best = 1e30
        inside = False
        for vx, vy, ux, uy, ex, ey, ee in edges:
            wx, wy = x - vx, y - vy
            t = (wx * ex + wy * ey) / ee
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < best:
                best = dd
            if (vy <= y) != (uy <= y):
                if x < vx + (y - vy) * ex / ey:
                    inside = not inside
        dist = math.sqrt(best)
        return -dist if inside else dist
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(d, (min(xs), min(ys), max(xs), max(ys)))


def star(cx, cy, r_out, r_in, points=5, turn=-90.0):
    pts = []
    for k in range(points * 2):
        a = math.radians(turn + 180.0 * k / points)
        r = r_out if k % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def wavy_disc(cx, cy, r, waves):
    """Disc whose radius wobbles by sum(amplitude * sin(k * angle + phase)): a blob of wax."""
    slope = sum(abs(a * k) for a, k, _ in waves) / r
    lip = math.sqrt(1.0 + slope * slope)  # keeps d a lower bound of the true distance
    reach = r + sum(abs(a) for a, _, _ in waves)

    def d(x, y):
        dx, dy = x - cx, y - cy
        ang = math.atan2(dy, dx)
        rr = r
        for a, k, ph in waves:
            rr += a * math.sin(k * ang + ph)
        return (math.hypot(dx, dy) - rr) / lip
    return Shape(d, (cx - reach, cy - reach, cx + reach, cy + reach))


def union(*shapes):
    ds = [s.d for s in shapes]

    def d(x, y):
        return min(f(x, y) for f in ds)
    return Shape(d, (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
                     max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes)))


def intersect(a, b):
    da, db = a.d, b.d

    def d(x, y):
        u, v = da(x, y), db(x, y)
        return u if u > v else v
    return Shape(d, (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3])))


def subtract(a, *cuts):
    da = a.d
    dcs = [c.d for c in cuts]

    def d(x, y):
        u = da(x, y)
        for f in dcs:
            v = -f(x, y)
            if v > u:
                u = v
        return u
    return Shape(d, a.bbox)


def grow(s, r):
    """Shape dilated by r (eroded when r < 0)."""
    ds = s.d
    x0, y0, x1, y1 = s.bbox
    return Shape(lambda x, y: ds(x, y) - r, (x0 - r, y0 - r, x1 + r, y1 + r) if r > 0 else s.bbox)


def outline(s, w):
    """Band of width w centred on the shape's edge."""
    ds = s.d
    h = w * 0.5
    x0, y0, x1, y1 = s.bbox
    return Shape(lambda x, y: abs(ds(x, y)) - h, (x0 - h, y0 - h, x1 + h, y1 + h))


def move(s, dx, dy):
    ds = s.d
    x0, y0, x1, y1 = s.bbox
    return Shape(lambda x, y: ds(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def place(s, angle_deg, tx, ty, k=1.0):
    """Shape drawn in its own frame, scaled by k, turned by angle (clockwise on screen), put at (tx, ty)."""
    ds = s.d
    a = math.radians(angle_deg)
    c, n = math.cos(a), math.sin(a)

    def d(x, y):
        px, py = (x - tx) / k, (y - ty) / k
        return ds(px * c + py * n, -px * n + py * c) * k
    x0, y0, x1, y1 = s.bbox
    xs, ys = [], []
    for px, py in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        xs.append(tx + k * (px * c - py * n))
        ys.append(ty + k * (px * n + py * c))
    return Shape(d, (min(xs), min(ys), max(xs), max(ys)))


# ---------------------------------------------------------------------------------------------------
# Paints: a colour (r, g, b, a) in 0..255 / 0..1, or a function of the design point giving one.


def rgb(hexcode, alpha=1.0):
    return ((hexcode >> 16) & 255, (hexcode >> 8) & 255, hexcode & 255, alpha)


def _mix(c0, c1, t):
    return (c0[0] + (c1[0] - c0[0]) * t, c0[1] + (c1[1] - c0[1]) * t,
            c0[2] + (c1[2] - c0[2]) * t, c0[3] + (c1[3] - c0[3]) * t)


def linear(x0, y0, c0, x1, y1, c1):
    ex, ey = x1 - x0, y1 - y0
    ee = ex * ex + ey * ey

    def paint(x, y):
        t = ((x - x0) * ex + (y - y0) * ey) / ee
        return _mix(c0, c1, 0.0 if t < 0.0 else (1.0 if t > 1.0 else t))
    return paint


def radial(cx, cy, r, c0, c1):
    def paint(x, y):
        t = math.hypot(x - cx, y - cy) / r
        return _mix(c0, c1, 1.0 if t > 1.0 else t)
    return paint


# ---------------------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA in floats, one list per channel.


class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / DESIGN  # pixels per design unit
        n = size * size
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n

    def snap(self, v):
        """Design coordinate moved to the nearest pixel boundary (crisp edges at small sizes)."""
        return round(v * self.scale) / self.scale

    def fill(self, shape, paint, opacity=1.0, soft=0.0):
        """Paints shape over the canvas; soft > 0 blurs its edge over that many design units each side."""
        size, s = self.size, self.scale
        x0, y0, x1, y1 = shape.bbox
        pad = soft * s + 1.0
        i0 = max(0, int(math.floor(x0 * s - pad)))
        j0 = max(0, int(math.floor(y0 * s - pad)))
        i1 = min(size, int(math.ceil(x1 * s + pad)))
        j1 = min(size, int(math.ceil(y1 * s + pad)))
        if i0 >= i1 or j0 >= j1:
            return
        d = shape.d
        inv = 1.0 / s
        soft_px = soft * s
        offs = [(k + 0.5) / SUB for k in range(SUB)]
        cells = float(SUB * SUB)
        flat = None if callable(paint) else paint
        R, G, B, A = self.r, self.g, self.b, self.a
        for j in range(j0, j1):
            y = (j + 0.5) * inv
            row = j * size
            for i in range(i0, i1):
                x = (i + 0.5) * inv
                dist = d(x, y) * s
                if soft_px > 0.0:
                    t = 0.5 - dist / (2.0 * soft_px)
                    if t <= 0.0:
                        continue
                    cov = 1.0 if t >= 1.0 else t * t * (3.0 - 2.0 * t)
                elif dist >= 0.75:
                    continue
                elif dist <= -0.75:
                    cov = 1.0
                else:
                    hits = 0
                    for oy in offs:
                        yy = (j + oy) * inv
                        for ox in offs:
                            if d((i + ox) * inv, yy) < 0.0:
                                hits += 1
                    if hits == 0:
                        continue
                    cov = hits / cells
                cr, cg, cb, ca = flat if flat is not None else paint(x, y)
                al = ca * cov * opacity
                if al <= 0.0:
                    continue
                k = row + i
                keep = 1.0 - al
                R[k] = cr * al + R[k] * keep
                G[k] = cg * al + G[k] * keep
                B[k] = cb * al + B[k] * keep
                A[k] = al + A[k] * keep

    def rgba_rows(self):
        """Rows top to bottom of straight-alpha 8-bit RGBA."""
        size = self.size
        rows = []
        for j in range(size):
            out = bytearray(size * 4)
            for i in range(size):
                k = j * size + i
                a = self.a[k]
                a8 = int(a * 255.0 + 0.5)
                if a8 <= 0:
                    continue
                if a8 > 255:
                    a8 = 255
                o = i * 4
                for c, ch in enumerate((self.r, self.g, self.b)):
                    v = int(ch[k] / a + 0.5)
                    out[o + c] = 0 if v < 0 else (255 if v > 255 else v)
                out[o + 3] = a8
            rows.append(bytes(out))
        return rows


# ---------------------------------------------------------------------------------------------------
# Motifs shared by several icons.


def key_shape():
    """A key lying along +x with its bow centred on the origin and the bit hanging towards +y."""
    bow = subtract(circle(0, 0, 25), circle(0, 0, 10))
    shaft = rrect(16, -7, 80, 7, 3)
    bit1 = rrect(54, 0, 64, 24, 2)
    bit2 = rrect(68, 0, 78, 18, 2)
    collar = rrect(22, -10, 28, 10, 2)
    return union(bow, shaft, bit1, bit2, collar)


def draw_key(cv, angle, tx, ty, k, shadow=True):
    key = place(key_shape(), angle, tx, ty, k)
    if shadow:
        cv.fill(move(grow(key, 2.0 * k), 2.5 * k, 4.0 * k), rgb(0x000000, 0.45), soft=4.0 * k)
    x0, y0, x1, y1 = key.bbox
    cv.fill(grow(key, 3.0 * k), rgb(0x4a2f05))
    cv.fill(key, linear(x0, y0, rgb(0xffe58a), x1, y1, rgb(0xc98a12)))
    # A lighter rim on the upper-left edges makes the metal look round.
    cv.fill(subtract(key, move(key, 1.6 * k, 1.6 * k)), rgb(0xfff6cf, 0.85))
    return key


def draw_seal(cv, cx, cy, r, wobble=True, rim_px=0.0, shadow=True):
    """Red wax seal; returns the inner disc radius for whatever is pressed into it."""
    if wobble:
        wax = wavy_disc(cx, cy, r, ((r * 0.055, 9, 0.0), (r * 0.03, 5, 1.3), (r * 0.02, 13, 2.1)))
    else:
        wax = circle(cx, cy, r)
    if shadow:
        cv.fill(move(wax, r * 0.05, r * 0.09), rgb(0x000000, 0.45), soft=r * 0.1)
    if rim_px > 0.0:
        cv.fill(wax, rgb(0x6e0a10))
        wax = grow(wax, -rim_px / cv.scale)
    cv.fill(wax, radial(cx - r * 0.35, cy - r * 0.4, r * 1.5, rgb(0xf0605a), rgb(0x8a0f18)))
    inner = r * 0.68
    # Pressed ring: light on the lower right, dark on the upper left.
    cv.fill(circle(cx + r * 0.035, cy + r * 0.035, inner + r * 0.04), rgb(0xff9a8c, 0.9))
    cv.fill(circle(cx - r * 0.035, cy - r * 0.035, inner + r * 0.04), rgb(0x5a0409, 0.9))
    cv.fill(circle(cx, cy, inner), radial(cx - inner * 0.3, cy - inner * 0.3, inner * 1.4,
                                          rgb(0xc8262c), rgb(0x8c0d16)))
    return inner


# ---------------------------------------------------------------------------------------------------
# The icons.


def draw_claverix(size):
    """Golden key across a rounded dark-blue tile."""
    cv = Canvas(size)
    tile = rrect(6, 6, 122, 122, 24)
    cv.fill(move(tile, 0, 3), rgb(0x000000, 0.35), soft=3.0)
    cv.fill(tile, linear(0, 6, rgb(0x3b6fc4), 0, 122, rgb(0x122a5c)))
    cv.fill(intersect(outline(grow(tile, -1.5), 2.0), rrect(0, 0, 128, 64)), rgb(0xffffff, 0.22))
    cv.fill(outline(grow(tile, -0.5), 1.0), rgb(0x0a1633, 0.8))
    # The key is centred on the tile by its bounding box.
    k = 0.9
    x0, y0, x1, y1 = place(key_shape(), 45.0, 0.0, 0.0, k).bbox
    draw_key(cv, 45.0, 64.0 - (x0 + x1) * 0.5, 63.0 - (y0 + y1) * 0.5, k)
    return cv


def draw_sellomar(size):
    """Red wax seal with a padlock pressed into it."""
    cv = Canvas(size)
    cx = cy = 62.0
    inner = draw_seal(cv, cx, cy, 56.0)
    k = inner / 34.0
    body = rrect(cx - 19 * k, cy - 4 * k, cx + 19 * k, cy + 23 * k, 4 * k)
    shackle = intersect(subtract(rrect(cx - 13 * k, cy - 26 * k, cx + 13 * k, cy + 6 * k, 13 * k),
                                 rrect(cx - 6.5 * k, cy - 19.5 * k, cx + 6.5 * k, cy + 6 * k, 6.5 * k)),
                        rrect(cx - 20 * k, cy - 30 * k, cx + 20 * k, cy - 2 * k))
    hole = union(circle(cx, cy + 7 * k, 4.2 * k),
                 polygon([(cx - 2 * k, cy + 8 * k), (cx + 2 * k, cy + 8 * k),
                          (cx + 3.2 * k, cy + 17 * k), (cx - 3.2 * k, cy + 17 * k)]))
    lock = subtract(union(body, shackle), hole)
    cv.fill(move(lock, 1.2 * k, 1.8 * k), rgb(0x3a0206, 0.7), soft=1.5 * k)
    cv.fill(lock, linear(cx, cy - 26 * k, rgb(0xffe7a8), cx, cy + 23 * k, rgb(0xd9a441)))
    cv.fill(intersect(outline(grow(body, -1.2 * k), 1.2 * k), rrect(0, 0, 128, cy - 1 * k)),
            rgb(0xffffff, 0.6))
    return cv


def draw_sclav(size):
    """Document page with a folded corner and a wax seal on its lower right, drawn for one size."""
    cv = Canvas(size)
    px = 1.0 / cv.scale  # one pixel in design units
    small = size <= 32
    x0, y0 = cv.snap(20 if small else 22), cv.snap(4 if small else 6)
    x1, y1 = cv.snap(104 if small else 100), cv.snap(124 if small else 122)
    fold = cv.snap(40 if size <= 16 else (28 if small else 26))
    line_w = max(px, cv.snap(4.0)) if size >= 48 else px
    border = max(px, cv.snap(2.5)) if size >= 64 else px
    page = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    if size >= 48:
        cv.fill(move(page, 1.5, 2.5), rgb(0x000000, 0.3), soft=2.5)
    cv.fill(page, rgb(0x4b5668))
    cv.fill(grow(page, -border), linear(0, y0, rgb(0xffffff), 0, y1, rgb(0xe4e9f0)))
    # The folded flap: dark edges, then its face clipped to the page's inside so the diagonal stays.
    cv.fill(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), rgb(0x4b5668))
    cv.fill(intersect(grow(page, -border), rrect(x1 - fold + border, y0, x1, y0 + fold - border)),
            linear(x1 - fold, y0 + fold, rgb(0xc3ccd8), x1 - fold * 0.5, y0 + fold * 0.5, rgb(0xf4f6f9)))

    # Seal position and size; larger relative to the page at small sizes so it stays visible.
    if size <= 16:
        sr, scx, scy = 35.0, 92.0, 92.0
    elif small:
        sr, scx, scy = 34.0, x1 - 6.0, y1 - 26.0
    else:
        sr, scx, scy = 29.0, x1 - 6.0, y1 - 28.0

    # Lines of text, at whole pixels, stopping short of the fold and the seal.
    gap = max(2.0 * px, cv.snap(12.0))
    lx0 = x0 + max(2.0 * px, cv.snap(10.0))
    y = y0 + max(2.0 * px, cv.snap(14.0))
    n = 0
    while y + line_w <= y1 - max(2.0 * px, cv.snap(8.0)):
        right = x1 - max(2.0 * px, cv.snap(10.0))
        if y < y0 + fold + px:
            right = x1 - fold - max(px, cv.snap(6.0))
        if y + line_w > scy - sr - cv.snap(4.0):
            right = min(right, scx - sr - max(px, cv.snap(4.0)))
        if n % 3 == 2:
            right -= cv.snap((right - lx0) * 0.3)
        if right - lx0 >= 2.0 * px:
            cv.fill(rrect(lx0, y, right, y + line_w, 0.0 if size < 64 else line_w * 0.5),
                    rgb(0x8995a8))
        y += gap
        n += 1

    if size <= 16:
        draw_seal(cv, scx, scy, sr, wobble=False, rim_px=1.0, shadow=False)
        cv.fill(circle(scx, scy, 11.0), rgb(0xffdf8a))
    else:
        inner = draw_seal(cv, scx, scy, sr, wobble=size >= 48, rim_px=1.0 if small else 0.0)
        st = star(scx, scy, inner * 0.78, inner * 0.34)
        if size >= 48:
            cv.fill(move(st, inner * 0.04, inner * 0.06), rgb(0x3a0206, 0.6))
        cv.fill(st, rgb(0xffdf8a))
    return cv


def draw_portaclip(size):
    """Clipboard holding a sheet with lines and a golden key."""
    cv = Canvas(size)
    board = rrect(16, 12, 112, 124, 10)
    cv.fill(move(board, 1.5, 3), rgb(0x000000, 0.35), soft=3.0)
    cv.fill(board, rgb(0x4a2a10))
    cv.fill(grow(board, -2), linear(16, 12, rgb(0xc98f55), 112, 124, rgb(0x8c5426)))
    sheet = rrect(27, 26, 101, 115, 3)
    cv.fill(move(sheet, 1, 2), rgb(0x2b1606, 0.4), soft=1.5)
    cv.fill(sheet, linear(0, 26, rgb(0xffffff), 0, 115, rgb(0xe6ebf2)))
    for y, right in ((39, 90), (50, 90), (61, 72)):
        cv.fill(rrect(38, y, right, y + 5.5, 2.75), rgb(0x7d8aa0))
    clip_body = union(rrect(40, 16, 88, 32, 5), rrect(49, 5, 79, 24, 9))
    clip = subtract(clip_body, circle(64, 13, 4.2))
    cv.fill(move(clip, 1, 2), rgb(0x000000, 0.4), soft=1.5)
    cv.fill(grow(clip, 1.8), rgb(0x2a3038))
    cv.fill(clip, linear(0, 5, rgb(0xf4f7fa), 0, 32, rgb(0x8d98a6)))
    cv.fill(intersect(outline(grow(clip_body, -1.2), 1.2), rrect(0, 0, 128, 16)), rgb(0xffffff, 0.8))
    draw_key(cv, 0.0, 46.0, 89.0, 0.62)
    return cv


ICONS = {
    "claverix": (draw_claverix, (128,)),
    "sellomar": (draw_sellomar, (128,)),
    "sclav": (draw_sclav, (16, 32, 48, 64, 128, 256)),
    "portaclip": (draw_portaclip, (128,)),
}


# ---------------------------------------------------------------------------------------------------
# File formats.


def png_bytes(size, rows):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib_bytes(size, rows):
    """Icon image as a DIB: BITMAPINFOHEADER (height doubled), BGRA rows bottom-up, then the AND mask."""
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bgra = bytearray(row)
        bgra[0::4], bgra[2::4] = row[2::4], row[0::4]
        xor += bgra
        bits = bytearray(mask_stride)
        for i in range(size):
            if row[i * 4 + 3] == 0:
                bits[i >> 3] |= 0x80 >> (i & 7)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: (size, encoded image) pairs, in order."""
    count = len(images)
    offset = 6 + 16 * count
    head = struct.pack("<HHH", 0, 1, count)
    entries = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return head + entries + b"".join(data for _, data in images)


def make_icon(name):
    draw, sizes = ICONS[name]
    images = []
    for size in sizes:
        rows = draw(size).rgba_rows()
        images.append((size, png_bytes(size, rows) if size >= 256 else dib_bytes(size, rows)))
    return ico_bytes(images)


def main(argv):
    if len(argv) != 3 or argv[1] not in ICONS:
        sys.stderr.write("uso: make_icons.py {%s} salida.ico\n" % "|".join(ICONS))
        return 2
    data = make_icon(argv[1])
    out = argv[2]
    folder = os.path.dirname(out)
    if folder:
        os.makedirs(folder, exist_ok=True)
    tmp = out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
