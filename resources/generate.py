#!/usr/bin/env python3
"""Draws the program's icons and pictures and writes them as ICO/BMP/JPEG/GIF.

Standard library only, and deterministic: the outputs are committed and a test
regenerates them to check nothing drifted.  Usage: generate.py [--out DIR]
"""

import argparse
import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Shapes: inside(x, y) tests plus a bounding box, in pixel coordinates where
# pixel (i, j) covers [i, i+1) x [j, j+1).
# ---------------------------------------------------------------------------


class Shape:
    def __init__(self, bbox, inside):
        self.bbox = bbox
        self.inside = inside


def rrect(x0, y0, x1, y1, r):
    r = max(0.0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))

    def inside(x, y):
        if x < x0 or x >= x1 or y < y0 or y >= y1:
            return False
        dx = max(x0 + r - x, x - (x1 - r), 0.0)
        dy = max(y0 + r - y, y - (y1 - r), 0.0)
        return dx * dx + dy * dy <= r * r

    return Shape((x0, y0, x1, y1), inside)


def rect(x0, y0, x1, y1):
    return rrect(x0, y0, x1, y1, 0)


def ellipse(cx, cy, rx, ry):
    def inside(x, y):
        dx = (x - cx) / rx
        dy = (y - cy) / ry
        return dx * dx + dy * dy <= 1.0

    return Shape((cx - rx, cy - ry, cx + rx, cy + ry), inside)


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def arc(cx, cy, r_out, r_in, a0, a1):
    """Part of a ring, angles in degrees, clockwise on screen (y down)."""
    a0 %= 360.0
    span = (a1 - a0) % 360.0 or 360.0

    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        if not r_in * r_in <= d <= r_out * r_out:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
        return (a - a0) % 360.0 <= span

    return Shape((cx - r_out, cy - r_out, cx + r_out, cy + r_out), inside)


def _seg_dist2(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    wx, wy = x - ax, y - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, (wx * vx + wy * vy) / ll))
    dx, dy = wx - t * vx, wy - t * vy
    return dx * dx + dy * dy


def line(ax, ay, bx, by, width):
    """A stroke with round caps."""
    h = width / 2

    def inside(x, y):
        return _seg_dist2(x, y, ax, ay, bx, by) <= h * h

    return Shape((min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h), inside)


def polygon(points, grow=0.0):
    """Filled polygon (even-odd), optionally grown by `grow` for outlines."""
    n = len(points)
    edges = [(points[i], points[(i + 1) % n]) for i in range(n)]
    g2 = grow * grow

    def inside(x, y):
        c = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                c = not c
        if c or grow <= 0:
            return c
        return any(_seg_dist2(x, y, ax, ay, bx, by) <= g2 for (ax, ay), (bx, by) in edges)

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape((min(xs) - grow, min(ys) - grow, max(xs) + grow, max(ys) + grow), inside)


def both(a, b):
    x0, y0, x1, y1 = a.bbox
    u0, v0, u1, v1 = b.bbox
    return Shape((max(x0, u0), max(y0, v0), min(x1, u1), min(y1, v1)),
                 lambda x, y: a.inside(x, y) and b.inside(x, y))


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats, shapes composited with supersampled
# coverage.
# ---------------------------------------------------------------------------

SS = 6  # samples per pixel side


class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        if bg is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[float(bg[0]), float(bg[1]), float(bg[2]), 1.0] for _ in range(w * h)]

    def fill(self, shape, color, alpha=1.0):
        x0, y0, x1, y1 = shape.bbox
        i0, j0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        i1, j1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        offs = [(k + 0.5) / SS for k in range(SS)]
        inside = shape.inside
        r, g, b = color
        for j in range(j0, j1):
            for i in range(i0, i1):
                n = 0
                for oy in offs:
                    y = j + oy
                    for ox in offs:
                        if inside(i + ox, y):
                            n += 1
                if n:
                    a = alpha * n / (SS * SS)
                    p = self.px[j * self.w + i]
                    k = 1.0 - a
                    p[0] = r * a + p[0] * k
                    p[1] = g * a + p[1] * k
                    p[2] = b * a + p[2] * k
                    p[3] = a + p[3] * k

    def vgradient(self, shape, top, bottom, y0, y1):
        """Fill with a vertical gradient: one band per pixel row."""
        for j in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)))):
            t = 0.0 if y1 - y0 <= 1 else (j + 0.5 - y0) / (y1 - y0)
            t = max(0.0, min(1.0, t))
            col = tuple(top[c] + (bottom[c] - top[c]) * t for c in range(3))
            self.fill(both(shape, rect(0, j, self.w, j + 1)), col)

    def rgba(self, i, j):
        """Straight (not premultiplied) 8-bit RGBA."""
        r, g, b, a = self.px[j * self.w + i]
        if a <= 0.0:
            return (0, 0, 0, 0)
        return (_u8(r / a), _u8(g / a), _u8(b / a), _u8(a * 255.0))

    def rgb(self, i, j):
        return self.rgba(i, j)[:3]


def _u8(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


# ---------------------------------------------------------------------------
# Pictures
# ---------------------------------------------------------------------------

OUTLINE = (22, 44, 84)
BODY = (58, 146, 232)
BODY_LIGHT = (128, 196, 252)
SCREEN = (20, 32, 56)
SCREEN_LIGHT = (40, 70, 112)
PLAY = (96, 232, 196)
PAD = (244, 247, 252)
PAD_EDGE = (150, 176, 210)
PAD_KEY = (34, 86, 160)
GREEN = (64, 196, 56)
GREEN_DARK = (18, 92, 22)
ORANGE = (255, 150, 28)
ORANGE_DARK = (150, 70, 0)


def draw_player(c, x, y, w, h, screen="play", progress=0.0):
    """A portable player: rounded body, screen on top, round pad below."""
    t = max(1.0, w / 14.0)  # outline thickness
    c.fill(rrect(x, y, x + w, y + h, w * 0.24), OUTLINE)
    c.fill(rrect(x + t, y + t, x + w - t, y + h - t, w * 0.24 - t), BODY)
    # a light edge on the left makes it read as a rounded object
    c.fill(both(rrect(x + t, y + t, x + w - t, y + h - t, w * 0.24 - t),
                rect(x + t, y + t, x + t + max(1.0, w * 0.1), y + h - t)), BODY_LIGHT, 0.8)
    sx0, sx1 = x + w * 0.2, x + w * 0.8
    sy0, sy1 = y + h * 0.1, y + h * 0.5
    sx0, sx1, sy0, sy1 = (round(v) for v in (sx0, sx1, sy0, sy1))
    c.fill(rrect(sx0, sy0, sx1, sy1, w * 0.05), SCREEN)
    sw, sh = sx1 - sx0, sy1 - sy0
    if screen == "play":
        c.fill(polygon([(sx0 + sw * 0.34, sy0 + sh * 0.24), (sx0 + sw * 0.34, sy0 + sh * 0.76),
                        (sx0 + sw * 0.76, sy0 + sh * 0.5)]), PLAY)
    elif screen == "progress":
        m = max(1.0, sw * 0.15)
        bh = max(1.0, sh * 0.2)
        by = sy0 + sh * 0.62
        c.fill(rect(sx0 + m, by, sx1 - m, by + bh), SCREEN_LIGHT)
        c.fill(rect(sx0 + m, by, sx0 + m + (sw - 2 * m) * progress, by + bh), ORANGE)
        c.fill(polygon([(sx0 + sw * 0.38, sy0 + sh * 0.16), (sx0 + sw * 0.38, sy0 + sh * 0.5),
                        (sx0 + sw * 0.66, sy0 + sh * 0.33)]), PLAY)
    pcx, pcy = x + w / 2, y + h * 0.75
    pr = w * 0.25
    c.fill(circle(pcx, pcy, pr), PAD_EDGE)
    c.fill(circle(pcx, pcy, pr - max(0.8, w * 0.05)), PAD)
    c.fill(circle(pcx, pcy, max(0.9, pr * 0.38)), PAD_KEY)


def draw_player_16(c, x, y):
    """Hand-placed 16 px player: every edge on a pixel boundary."""
    c.fill(rrect(x + 3, y + 0, x + 13, y + 16, 2.5), OUTLINE)
    c.fill(rrect(x + 4, y + 1, x + 12, y + 15, 1.5), BODY)
    c.fill(rect(x + 4, y + 2, x + 5, y + 14), BODY_LIGHT)
    c.fill(rect(x + 5, y + 2, x + 11, y + 8), SCREEN)
    c.fill(rect(x + 7, y + 3, x + 8, y + 7), PLAY)
    c.fill(rect(x + 8, y + 4, x + 9, y + 6), PLAY)
    c.fill(rrect(x + 5, y + 9, x + 11, y + 14, 2.0), PAD_EDGE)
    c.fill(rrect(x + 6, y + 9, x + 10, y + 14, 1.0), PAD)
    c.fill(rect(x + 5, y + 10, x + 11, y + 13), PAD)
    c.fill(rect(x + 7, y + 10, x + 9, y + 12), PAD_KEY)


def arrow_points(tip_x, tip_y, length, shaft_w, head_w, head_len, direction):
    """An arrow as a polygon; direction 'down' or 'right'."""
    hs, hh = shaft_w / 2, head_w / 2
    pts = [(-hs, -length), (hs, -length), (hs, -head_len), (hh, -head_len), (0, 0),
           (-hh, -head_len), (-hs, -head_len)]
    if direction == "down":
        return [(tip_x + px, tip_y + py) for px, py in pts]
    return [(tip_x + py, tip_y + px) for px, py in pts]


def draw_arrow(c, pts, fill, edge, t):
    c.fill(polygon(pts, grow=t), edge)
    c.fill(polygon(pts), fill)


def idle_icon(size):
    c = Canvas(size, size)
    if size == 16:
        draw_player_16(c, 0, 0)
    else:
        u = size / 32.0
        draw_player(c, 7 * u, 1 * u, 18 * u, 30 * u)
    return c


def busy_icon32():
    c = Canvas(32, 32)
    draw_player(c, 13, 1, 18, 30, screen="progress", progress=0.6)
    draw_arrow(c, arrow_points(17, 12, 16, 5, 12, 7, "right"), GREEN, GREEN_DARK, 1.3)
    return c


def draw_diamond(c, ox, fill=(170, 174, 182)):
    pts = [(ox + 8, 1), (ox + 15, 8), (ox + 8, 15), (ox + 1, 8)]
    c.fill(polygon(pts), (84, 88, 96))
    inner = [(ox + 8, 2.5), (ox + 13.5, 8), (ox + 8, 13.5), (ox + 2.5, 8)]
    c.fill(polygon(inner), fill)
    c.fill(polygon([(ox + 8, 2.5), (ox + 13.5, 8), (ox + 8, 8), (ox + 2.5, 8)]), (204, 208, 214))


def list_strip():
    c = Canvas(128, 16)
    # 0: a file no rule matched
    draw_diamond(c, 0)
    # 1: video, orange tiles
    draw_diamond(c, 16)
    for tx, ty in ((5, 5), (9, 5), (7, 7), (5, 9), (9, 9)):
        c.fill(rect(16 + tx, ty, 16 + tx + 2, ty + 2), ORANGE)
    # 2: music, a round dark symbol
    draw_diamond(c, 32)
    c.fill(circle(32 + 8, 8.5, 3.2), (40, 42, 48))
    c.fill(circle(32 + 8, 8.5, 1.0), (200, 204, 210))
    # 3: text, a small dark symbol
    draw_diamond(c, 48)
    c.fill(rect(48 + 5, 6, 48 + 11, 7), (40, 42, 48))
    c.fill(rect(48 + 5, 8, 48 + 11, 9), (40, 42, 48))
    c.fill(rect(48 + 5, 10, 48 + 9, 11), (40, 42, 48))
    # 4: picture, a frame holding a blue square
    c.fill(rect(64 + 1, 2, 64 + 15, 14), (120, 84, 44))
    c.fill(rect(64 + 2, 3, 64 + 14, 13), (236, 226, 200))
    c.fill(rect(64 + 4, 5, 64 + 12, 11), (40, 110, 220))
    c.fill(rect(64 + 4, 5, 64 + 12, 6), (110, 170, 250))
    # 5: Flash, a page with a pen and a yellow spark
    c.fill(polygon([(80 + 2, 1), (80 + 10, 1), (80 + 13, 4), (80 + 13, 15), (80 + 2, 15)]), (96, 100, 110))
    c.fill(polygon([(80 + 3, 2), (80 + 9.5, 2), (80 + 12, 4.5), (80 + 12, 14), (80 + 3, 14)]), (252, 252, 250))
    c.fill(polygon([(80 + 9.5, 2), (80 + 12, 4.5), (80 + 9.5, 4.5)]), (190, 194, 204))
    c.fill(line(80 + 5, 12, 80 + 11, 6, 2.2), (36, 60, 140))
    c.fill(polygon([(80 + 4, 13.5), (80 + 4.2, 11.6), (80 + 5.8, 13.3)]), (30, 30, 30))
    spark = [(80 + 4.5, 2.0), (80 + 5.4, 4.4), (80 + 7.6, 5.0), (80 + 5.4, 5.8), (80 + 4.5, 8.2),
             (80 + 3.6, 5.8), (80 + 1.4, 5.0), (80 + 3.6, 4.4)]
    c.fill(polygon(spark, grow=0.6), (170, 120, 0))
    c.fill(polygon(spark), (255, 214, 0))
    # 6: being copied, a ring of red arrows
    cx, cy = 96 + 8, 8
    red = (224, 36, 30)
    for a0 in (-150, 30):
        c.fill(arc(cx, cy, 6.0, 3.4, a0, a0 + 110), red)
        a = math.radians(a0 + 110)
        ux, uy = math.cos(a), math.sin(a)  # outward
        tx, ty = -uy, ux  # clockwise travel
        mx, my = cx + 4.7 * ux, cy + 4.7 * uy
        c.fill(polygon([(mx + ux * 3.2, my + uy * 3.2), (mx - ux * 3.2, my - uy * 3.2),
                        (mx + tx * 3.6, my + ty * 3.6)]), red)
    # 7: copied, a green tick
    tick = [(112 + 1.5, 8.5), (112 + 4, 6), (112 + 6.5, 8.5), (112 + 12, 2), (112 + 14.5, 4.5),
            (112 + 6.5, 13.5)]
    c.fill(polygon(tick, grow=0.7), GREEN_DARK)
    c.fill(polygon(tick), (76, 200, 64))
    return c


SKY_TOP = (236, 245, 255)
SKY_BOTTOM = (200, 224, 250)


def mini_background(c):
    c.vgradient(rect(0, 0, c.w, c.h), SKY_TOP, SKY_BOTTOM, 0, c.h)


def mini_idle():
    c = Canvas(60, 60, SKY_TOP)
    mini_background(c)
    # dashed drop zone
    dash = (110, 150, 200)
    for k in range(7):
        x = 4 + k * 8
        c.fill(rect(x, 3, x + 5, 4.5), dash)
        c.fill(rect(x, 55.5, x + 5, 57), dash)
        c.fill(rect(3, x, 4.5, x + 5), dash)
        c.fill(rect(55.5, x, 57, x + 5), dash)
    draw_player(c, 20, 24, 20, 30)
    draw_arrow(c, arrow_points(30, 28, 22, 6, 15, 8, "down"), GREEN, GREEN_DARK, 1.4)
    return c


def mini_busy_frames():
    frames = []
    for k in range(5):
        c = Canvas(50, 50, SKY_TOP)
        mini_background(c)
        draw_player(c, 16, 18, 18, 30, screen="progress", progress=(k + 1) / 5.0)
        tip = 8 + k * 4.5
        draw_arrow(c, arrow_points(25, tip, min(14, tip - 1), 5, 12, 6.5, "down"), ORANGE, ORANGE_DARK, 1.2)
        frames.append(c)
    return frames


# ---------------------------------------------------------------------------
# Colour quantisation (median cut) for the palette formats
# ---------------------------------------------------------------------------


def median_cut(counts, n):
    """counts: {rgb: count}. Returns up to n colours."""
    boxes = [sorted(counts.items())]
    while len(boxes) < n:
        best, best_key = None, None
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            rng = max(max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3))
            key = (rng * sum(c[1] for c in box) ** 0.5, -bi)
            if best_key is None or key > best_key:
                best, best_key = bi, key
        if best is None:
            break
        box = boxes[best]
        ranges = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
        ch = ranges.index(max(ranges))
        box.sort(key=lambda c: (c[0][ch], c[0]))
        total = sum(c[1] for c in box)
        acc, cut = 0, 1
        for idx, (_, cnt) in enumerate(box[:-1]):
            acc += cnt
            if acc * 2 >= total:
                cut = idx + 1
                break
        else:
            cut = len(box) - 1
        boxes[best:best + 1] = [box[:cut], box[cut:]]
    pal = []
    for box in boxes:
        total = sum(c[1] for c in box)
        pal.append(tuple(_u8(sum(c[0][ch] * c[1] for c in box) / total) for ch in range(3)))
    return pal


def nearest_mapper(palette):
    cache = {}

    def index(rgb):
        i = cache.get(rgb)
        if i is None:
            i = min(range(len(palette)),
                    key=lambda k: sum((palette[k][ch] - rgb[ch]) ** 2 for ch in range(3)))
            cache[rgb] = i
        return i

    return index


# ---------------------------------------------------------------------------
# ICO / BMP
# ---------------------------------------------------------------------------


def _and_mask(c, opaque):
    stride = ((c.w + 31) // 32) * 4
    out = bytearray()
    for j in reversed(range(c.h)):
        row = bytearray(stride)
        for i in range(c.w):
            if not opaque(i, j):
                row[i >> 3] |= 0x80 >> (i & 7)
        out += row
    return bytes(out)


def _dib_header(w, h, bpp, size_image):
    return struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, size_image, 0, 0, 0, 0)


def ico_image_24(c):
    """24 bpp with a 1-bit mask: coverage of half or more counts as opaque."""
    opaque = lambda i, j: c.rgba(i, j)[3] >= 128
    stride = (c.w * 3 + 3) & ~3
    xor = bytearray()
    for j in reversed(range(c.h)):
        row = bytearray(stride)
        for i in range(c.w):
            if opaque(i, j):
                r, g, b = c.rgb(i, j)
                row[i * 3:i * 3 + 3] = bytes((b, g, r))
        xor += row
    mask = _and_mask(c, opaque)
    return _dib_header(c.w, c.h, 24, len(xor) + len(mask)) + bytes(xor) + mask


def ico_image_8(c):
    """8 bpp: palette entry 0 is black for the transparent pixels."""
    opaque = lambda i, j: c.rgba(i, j)[3] >= 128
    counts = {}
    for j in range(c.h):
        for i in range(c.w):
            if opaque(i, j):
                rgb = c.rgb(i, j)
                counts[rgb] = counts.get(rgb, 0) + 1
    pal = [(0, 0, 0)] + median_cut(counts, 255)
    index = nearest_mapper(pal[1:])
    stride = (c.w + 3) & ~3
    xor = bytearray()
    for j in reversed(range(c.h)):
        row = bytearray(stride)
        for i in range(c.w):
            if opaque(i, j):
                row[i] = 1 + index(c.rgb(i, j))
        xor += row
    pal += [(0, 0, 0)] * (256 - len(pal))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    mask = _and_mask(c, opaque)
    return _dib_header(c.w, c.h, 8, len(xor) + len(mask)) + palette + bytes(xor) + mask


def ico_image_32(c):
    """32 bpp with alpha, and a mask for old readers."""
    xor = bytearray()
    for j in reversed(range(c.h)):
        for i in range(c.w):
            r, g, b, a = c.rgba(i, j)
            xor += bytes((b, g, r, a))
    mask = _and_mask(c, lambda i, j: c.rgba(i, j)[3] >= 128)
    return _dib_header(c.w, c.h, 32, len(xor) + len(mask)) + bytes(xor) + mask


def ico_file(entries):
    """entries: [(size, bpp, image bytes)]"""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bpp, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(e[2] for e in entries)


def bmp_file_keyed(c, key):
    """24-bit BMP where anything less than half covered shows the key colour."""
    stride = (c.w * 3 + 3) & ~3
    pixels = bytearray()
    for j in reversed(range(c.h)):
        row = bytearray(stride)
        for i in range(c.w):
            r, g, b, a = c.rgba(i, j)
            if a < 128:
                r, g, b = key
            elif (r, g, b) == key:
                r, g, b = key[0], key[1] - 1, key[2]  # never hit the key by accident
            row[i * 3:i * 3 + 3] = bytes((b, g, r))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


# ---------------------------------------------------------------------------
# Baseline JPEG (4:4:4, standard tables)
# ---------------------------------------------------------------------------

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

Q_LUMA = [
    16, 11, 10, 16, 24, 40, 51, 61,
    12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56,
    14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77,
    24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99,
]

Q_CHROMA = [
    17, 18, 24, 47, 99, 99, 99, 99,
    18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99,
    47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32

DC_LUMA_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_CHROMA_BITS = [0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0]
DC_VALS = list(range(12))

AC_LUMA_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
AC_LUMA_VALS = [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07,
    0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0,
    0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28,
    0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89,
    0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
    0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5,
    0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
    0xF9, 0xFA,
]

AC_CHROMA_BITS = [0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77]
AC_CHROMA_VALS = [
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71,
    0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33, 0x52, 0xF0,
    0x15, 0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18, 0x19, 0x1A, 0x26,
    0x27, 0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
    0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68,
    0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,
    0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5,
    0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA,
    0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
    0xF9, 0xFA,
]


def _huff_codes(bits, vals):
    """Canonical codes: {symbol: (code, length)}."""
    assert sum(bits) == len(vals)
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[vals[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


def _scaled_quant(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - quality * 2
    return [max(1, min(255, (q * scale + 50) // 100)) for q in table]


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


_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
_ALPHA = [math.sqrt(0.125)] + [0.5] * 7


def _fdct(block):
    """8x8 forward DCT of level-shifted samples (row-major list of 64)."""
    tmp = [0.0] * 64
    for y in range(8):
        row = block[y * 8:y * 8 + 8]
        for u in range(8):
            cu = _COS[u]
            tmp[y * 8 + u] = _ALPHA[u] * sum(row[x] * cu[x] for x in range(8))
    out = [0.0] * 64
    for u in range(8):
        for v in range(8):
            cv = _COS[v]
            out[v * 8 + u] = _ALPHA[v] * sum(tmp[y * 8 + u] * cv[y] for y in range(8))
    return out


def _magnitude(v):
    """(category, extra bits) of a coefficient as JPEG codes it."""
    a = abs(v)
    size = a.bit_length()
    bits = v if v >= 0 else v + (1 << size) - 1
    return size, bits


def jpeg_file(c, quality=92):
    w, h = c.w, c.h
    pw, ph = (w + 7) & ~7, (h + 7) & ~7
    planes = [[0.0] * (pw * ph) for _ in range(3)]
    for j in range(ph):
        for i in range(pw):
            r, g, b = c.rgb(min(i, w - 1), min(j, h - 1))  # pad by repeating the edge
            k = j * pw + i
            planes[0][k] = 0.299 * r + 0.587 * g + 0.114 * b
            planes[1][k] = -0.168736 * r - 0.331264 * g + 0.5 * b + 128.0
            planes[2][k] = 0.5 * r - 0.418688 * g - 0.081312 * b + 128.0
    qt = [_scaled_quant(Q_LUMA, quality), _scaled_quant(Q_CHROMA, quality)]
    dc = [_huff_codes(DC_LUMA_BITS, DC_VALS), _huff_codes(DC_CHROMA_BITS, DC_VALS)]
    ac = [_huff_codes(AC_LUMA_BITS, AC_LUMA_VALS), _huff_codes(AC_CHROMA_BITS, AC_CHROMA_VALS)]
    bw = _BitWriter()
    pred = [0, 0, 0]
    for by in range(0, ph, 8):
        for bx in range(0, pw, 8):
            for comp in range(3):
                t = 0 if comp == 0 else 1
                plane = planes[comp]
                block = [plane[(by + y) * pw + bx + x] - 128.0 for y in range(8) for x in range(8)]
                coef = _fdct(block)
                zz = [int(round(coef[ZIGZAG[k]] / qt[t][ZIGZAG[k]])) for k in range(64)]
                diff = zz[0] - pred[comp]
                pred[comp] = zz[0]
                size, bits = _magnitude(diff)
                bw.put(*dc[t][size])
                if size:
                    bw.put(bits, size)
                run = 0
                for k in range(1, 64):
                    v = zz[k]
                    if v == 0:
                        run += 1
                        continue
                    while run > 15:
                        bw.put(*ac[t][0xF0])
                        run -= 16
                    size, bits = _magnitude(v)
                    bw.put(*ac[t][(run << 4) | size])
                    bw.put(bits, size)
                    run = 0
                if run:
                    bw.put(*ac[t][0x00])
    bw.flush()

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    out = b"\xFF\xD8"
    out += segment(0xE0, b"JFIF\0" + struct.pack(">BBBHHBB", 1, 1, 0, 1, 1, 0, 0))
    for t in range(2):
        out += segment(0xDB, bytes([t]) + bytes(qt[t][ZIGZAG[k]] for k in range(64)))
    out += segment(0xC0, struct.pack(">BHHB", 8, h, w, 3) + bytes((1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1)))
    for cls_id, bits, vals in ((0x00, DC_LUMA_BITS, DC_VALS), (0x10, AC_LUMA_BITS, AC_LUMA_VALS),
                               (0x01, DC_CHROMA_BITS, DC_VALS), (0x11, AC_CHROMA_BITS, AC_CHROMA_VALS)):
        out += segment(0xC4, bytes([cls_id] + bits + vals))
    out += segment(0xDA, bytes((3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0)))
    return out + bytes(bw.out) + b"\xFF\xD9"


# ---------------------------------------------------------------------------
# GIF89a with LZW
# ---------------------------------------------------------------------------


def lzw_encode(indices, min_size):
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    width = min_size + 1
    table, next_code = {}, eoi + 1
    emit(clear, width)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = {}, eoi + 1, min_size + 1
        prefix = k
    emit(prefix, width)
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def _sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    return bytes(out) + b"\0"


def gif_file(frames, delay_cs):
    w, h = frames[0].w, frames[0].h
    counts = {}
    for f in frames:
        for j in range(h):
            for i in range(w):
                rgb = f.rgb(i, j)
                counts[rgb] = counts.get(rgb, 0) + 1
    pal = median_cut(counts, 256)
    index = nearest_mapper(pal)
    pal += [(0, 0, 0)] * (256 - len(pal))
    out = b"GIF89a" + struct.pack("<HHBBB", w, h, 0xF7, 0, 0)
    out += b"".join(bytes(p) for p in pal)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\0"  # loop forever
    for f in frames:
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x04, delay_cs, 0) + b"\0"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0)
        pixels = [index(f.rgb(i, j)) for j in range(h) for i in range(w)]
        out += b"\x08" + _sub_blocks(lzw_encode(pixels, 8))
    return out + b"\x3B"


# ---------------------------------------------------------------------------


def build():
    idle16, idle32 = idle_icon(16), idle_icon(32)
    files = {
        "idle_tray.ico": ico_file([(16, 24, ico_image_24(idle16)), (32, 24, ico_image_24(idle32))]),
        "busy_tray.ico": ico_file([(32, 8, ico_image_8(busy_icon32()))]),
        "list_icons.bmp": bmp_file_keyed(list_strip(), (255, 0, 255)),
        "mini_idle.jpg": jpeg_file(mini_idle()),
        "mini_busy.gif": gif_file(mini_busy_frames(), 15),
        "app.ico": ico_file([(s, 32, ico_image_32(idle_icon(s))) for s in (16, 32, 48)]),
    }
    return files


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=here, help="folder to write into (default: this folder)")
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for name, data in build().items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
