#!/usr/bin/env python3
"""Draws the program's icons and pictures and writes them as ICO/BMP/JPEG/GIF.

Drawn with Pillow (Debian's python3-pil) and deterministic: the outputs are committed and
a test regenerates them to check nothing drifted.  Usage: generate.py [--out DIR]
"""

import argparse
import io
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw

# ---------------------------------------------------------------------------
# Shapes: each paints itself white on a mask SS times the picture's size; a
# pixel's coverage is the share of its SS x SS samples the shape covers.
# Coordinates are picture pixels, pixel (i, j) covering [i, i+1) x [j, j+1).
# ---------------------------------------------------------------------------

SS = 6  # samples per pixel side


def _at(v):
    """The first sample whose centre is at or past picture coordinate v."""
    return math.ceil(v * SS - 0.5)


def _box(x0, y0, x1, y1):
    return [_at(x0), _at(y0), _at(x1) - 1, _at(y1) - 1]


def _pt(x, y):
    return (x * SS - 0.5, y * SS - 0.5)


def _shape(paint):
    def mask(size):
        m = Image.new("L", size, 0)
        paint(ImageDraw.Draw(m))
        return m

    return mask


def rrect(x0, y0, x1, y1, r):
    r = max(0.0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))
    return _shape(lambda d: d.rounded_rectangle(_box(x0, y0, x1, y1), radius=round(r * SS), fill=255))


def rect(x0, y0, x1, y1):
    return _shape(lambda d: d.rectangle(_box(x0, y0, x1, y1), fill=255))


def circle(cx, cy, r):
    return _shape(lambda d: d.ellipse(_box(cx - r, cy - r, cx + r, cy + r), fill=255))


def arc(cx, cy, r_out, r_in, a0, a1):
    """Part of a ring, angles in degrees, clockwise on screen (y down)."""

    def paint(d):
        d.pieslice(_box(cx - r_out, cy - r_out, cx + r_out, cy + r_out), a0, a1, fill=255)
        d.ellipse(_box(cx - r_in, cy - r_in, cx + r_in, cy + r_in), fill=0)

    return _shape(paint)


def _stroke(d, points, width):
    """A stroke through the points with round caps and joints."""
    w = round(width * SS)
    d.line([_pt(*p) for p in points], fill=255, width=w, joint="curve")
    for x, y in (points[0], points[-1]):
        d.ellipse(_box(x - width / 2, y - width / 2, x + width / 2, y + width / 2), fill=255)


def line(ax, ay, bx, by, width):
    return _shape(lambda d: _stroke(d, [(ax, ay), (bx, by)], width))


def polygon(points, grow=0.0):
    """Filled polygon, optionally grown by `grow` all round for outlines."""

    def paint(d):
        d.polygon([_pt(*p) for p in points], fill=255)
        if grow > 0:
            _stroke(d, list(points) + [points[0]], 2 * grow)

    return _shape(paint)


def both(a, b):
    return lambda size: ImageChops.darker(a(size), b(size))


# ---------------------------------------------------------------------------
# Canvas: straight RGBA; each fill lays a colour over it through a shape's
# coverage.
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.im = Image.new("RGBA", (w, h), (0, 0, 0, 0) if bg is None else tuple(bg) + (255,))

    def fill(self, shape, color, alpha=1.0):
        cover = shape((self.w * SS, self.h * SS)).reduce(SS)
        if alpha != 1.0:
            cover = cover.point(lambda v: round(v * alpha))
        layer = Image.new("RGBA", (self.w, self.h), tuple(color) + (255,))
        layer.putalpha(cover)
        self.im.alpha_composite(layer)

    def vgradient(self, top, bottom):
        """One band per pixel row from top to bottom."""
        for j in range(self.h):
            t = (j + 0.5) / self.h
            self.fill(rect(0, j, self.w, j + 1), tuple(round(top[c] + (bottom[c] - top[c]) * t) for c in range(3)))


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
    c = Canvas(144, 16)
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
    # 8: failed, a red cross
    for a, b in (((128 + 3, 3), (128 + 13, 13)), ((128 + 13, 3), (128 + 3, 13))):
        c.fill(line(*a, *b, 4.4), (150, 16, 12))
    for a, b in (((128 + 3, 3), (128 + 13, 13)), ((128 + 13, 3), (128 + 3, 13))):
        c.fill(line(*a, *b, 2.8), (232, 40, 32))
    return c


SKY_TOP = (236, 245, 255)
SKY_BOTTOM = (200, 224, 250)


def mini_idle():
    c = Canvas(60, 60, SKY_TOP)
    c.vgradient(SKY_TOP, SKY_BOTTOM)
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
        c.vgradient(SKY_TOP, SKY_BOTTOM)
        draw_player(c, 16, 18, 18, 30, screen="progress", progress=(k + 1) / 5.0)
        tip = 8 + k * 4.5
        draw_arrow(c, arrow_points(25, tip, min(14, tip - 1), 5, 12, 6.5, "down"), ORANGE, ORANGE_DARK, 1.2)
        frames.append(c)
    return frames


# ---------------------------------------------------------------------------
# Files. Icon images are DIBs with a 1-bit mask (Pillow writes no mask for
# them); half covered or more counts as opaque, and transparent pixels are
# black, as the icon's XOR step needs.
# ---------------------------------------------------------------------------


def _opaque(c):
    return c.im.getchannel("A").point(lambda a: 255 if a >= 128 else 0)


def _rows(im, rawmode, width_bytes):
    """The pixel rows bottom-up, each padded to 32 bits."""
    stride = (width_bytes + 3) & ~3
    data = im.tobytes("raw", rawmode)
    return b"".join(data[j * width_bytes:(j + 1) * width_bytes].ljust(stride, b"\0")
                    for j in reversed(range(im.height)))


def _ico_image(c, bpp, palette, pixels):
    mask = _rows(ImageChops.invert(_opaque(c)).convert("1"), "1", (c.w + 7) // 8)
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, bpp, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + palette + pixels + mask


def _on_black(c):
    return Image.composite(c.im.convert("RGB"), Image.new("RGB", c.im.size), _opaque(c))


def ico_image_24(c):
    return _ico_image(c, 24, b"", _rows(_on_black(c), "BGR", c.w * 3))


def ico_image_8(c):
    """Palette entry 0 is black for the transparent pixels, 255 colours for the rest."""
    opaque = _opaque(c)
    rgb = c.im.convert("RGB")
    drawn = [p for p, a in zip(rgb.getdata(), opaque.getdata()) if a]
    sample = Image.new("RGB", (len(drawn), 1))
    sample.putdata(drawn)
    palette = sample.quantize(255, method=Image.Quantize.MEDIANCUT)
    mapped = rgb.quantize(palette=palette, dither=Image.Dither.NONE)
    indices = Image.frombytes("L", rgb.size, mapped.tobytes()).point(lambda i: i + 1)
    indices = Image.composite(indices, Image.new("L", rgb.size), opaque)
    colours = [(0, 0, 0)] + [tuple(palette.getpalette()[3 * i:3 * i + 3]) for i in range(255)]
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    return _ico_image(c, 8, table, _rows(indices, "L", c.w))


def ico_image_32(c):
    """32 bpp with alpha, and the mask for old readers."""
    return _ico_image(c, 32, b"", _rows(c.im, "BGRA", c.w * 4))


def ico_file(entries):
    """entries: [(size, bpp, image bytes)]"""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bpp, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(e[2] for e in entries)


def _saved(im, fmt, **options):
    out = io.BytesIO()
    im.save(out, fmt, **options)
    return out.getvalue()


def bmp_file_keyed(c, key):
    """24-bit BMP where anything less than half covered shows the key colour."""
    near = (key[0], key[1] - 1, key[2])  # a drawn pixel never hits the key by accident
    rgb = c.im.convert("RGB")
    rgb.putdata([near if p == key else p for p in rgb.getdata()])
    return _saved(Image.composite(rgb, Image.new("RGB", rgb.size, key), _opaque(c)), "BMP")


def jpeg_file(c, quality=92):
    return _saved(c.im.convert("RGB"), "JPEG", quality=quality, subsampling=0)


def gif_file(frames, delay_cs):
    """Looping, every frame whole and on one shared palette."""
    strip = Image.new("RGB", (frames[0].w, frames[0].h * len(frames)))
    for k, f in enumerate(frames):
        strip.paste(f.im.convert("RGB"), (0, k * f.h))
    palette = strip.quantize(256, method=Image.Quantize.MEDIANCUT)
    shots = [f.im.convert("RGB").quantize(palette=palette, dither=Image.Dither.NONE) for f in frames]
    # Disposal 2 compares each frame with the background, so none is cropped to its changes;
    # the palette given keeps the frames from carrying palettes of their own.
    return _saved(shots[0], "GIF", save_all=True, append_images=shots[1:], duration=delay_cs * 10, loop=0,
                  disposal=2, optimize=False, palette=palette.getpalette())


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
