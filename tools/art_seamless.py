# SPDX-License-Identifier: MIT
"""Helpers for tiles that repeat without a seam."""

import colorsys
import math
import random

from PIL import Image, ImageDraw, ImageOps

from art_common import px, scale


def tile_image(img, nx, ny):
    out = Image.new(img.mode, (img.width * nx, img.height * ny))
    for i in range(nx):
        for j in range(ny):
            out.paste(img, (i * img.width, j * img.height))
    return out


def wrap_filter(img, flt):
    """Apply a neighbourhood filter as if the image repeated forever."""
    w, h = img.size
    return tile_image(img, 3, 3).filter(flt).crop((w, h, 2 * w, 2 * h))


def wrap_noise(w, h, cx, cy, rnd):
    """Smooth value noise that repeats every w x h picture pixels."""
    small = Image.new("L", (cx, cy))
    small.putdata([rnd.randrange(256) for _ in range(cx * cy)])
    w, h = px(w), px(h)
    big = tile_image(small, 3, 3).resize((3 * w, 3 * h), Image.Resampling.BICUBIC)
    return big.crop((w, h, 2 * w, 2 * h))


def fractal_noise(w, h, cells, octaves, seed, falloff=0.5):
    rnd = random.Random(seed)
    cx, cy = cells
    out, total, amp = None, 0.0, 1.0
    for _ in range(octaves):
        n = wrap_noise(w, h, min(cx, w), min(cy, h), rnd)
        total += amp
        out = n if out is None else Image.blend(out, n, amp / total)
        amp *= falloff
        cx, cy = cx * 2, cy * 2
    return ImageOps.autocontrast(out, cutoff=0.5)


def ramp_lut(stops):
    """Three 256-entry lookup tables interpolating (position, rgb) stops."""
    luts = ([], [], [])
    for i in range(256):
        t = i / 255
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                f = 0 if p1 == p0 else (t - p0) / (p1 - p0)
                for k in range(3):
                    luts[k].append(round(c0[k] + (c1[k] - c0[k]) * f))
                break
    return luts


def colorize(lum, stops):
    return Image.merge("RGB", [lum.point(l) for l in ramp_lut(stops)])


def pixel_image(w, h, fn, mode="RGB", smooth=False):
    """A w x h picture of fn(x, y). A smooth fn takes fractional picture
    pixels and is sampled at every device pixel; any other is pixel art and
    keeps its pixels whole at every scale."""
    k = scale()
    if k == 1 or not smooth:
        img = Image.new(mode, (w, h))
        img.putdata([fn(x, y) for y in range(h) for x in range(w)])
        return img.resize((px(w), px(h)), Image.Resampling.NEAREST) if k != 1 else img
    img = Image.new(mode, (px(w), px(h)))
    img.putdata([fn((x + 0.5) / k - 0.5, (y + 0.5) / k - 0.5)
                 for y in range(px(h)) for x in range(px(w))])
    return img


def blank(w, h, colour, mode="RGB"):
    """A plain w x h picture at the current scale."""
    return Image.new(mode, (px(w), px(h)), colour)


def wdelta(a, b, period):
    """Shortest signed distance from b to a on a circle of the given length."""
    return (a - b + period / 2) % period - period / 2


def mix(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def hsv(h, s, v, a=None):
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, s, v)
    rgb = (round(r * 255), round(g * 255), round(b * 255))
    return rgb if a is None else rgb + (a,)


def ellipse_points(cx, cy, rx, ry, angle=0.0, n=28):
    ca, sa = math.cos(angle), math.sin(angle)
    pts = []
    for k in range(n):
        t = 2 * math.pi * k / n
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * ca - y * sa, cy + x * sa + y * ca))
    return pts


def transform(pts, cx, cy, angle, scale=1.0):
    ca, sa = math.cos(angle), math.sin(angle)
    return [(cx + (x * ca - y * sa) * scale, cy + (x * sa + y * ca) * scale) for x, y in pts]


def _shifts(lo, hi, period):
    k0 = math.floor(-hi / period)
    k1 = math.ceil((period - lo) / period)
    return [k * period for k in range(k0, k1 + 1)
            if hi + k * period >= 0 and lo + k * period <= period]


class WrapCanvas:
    """Supersampled drawing surface in tile coordinates.  Every shape is also
    drawn shifted by whole tile sizes, so whatever crosses an edge comes back
    in on the other side and the reduced picture repeats without a seam."""

    def __init__(self, background, ss=4):
        self.w, self.h = background.width // scale(), background.height // scale()
        self.ss = ss
        self.s = ss * scale()   # device pixels per tile unit while drawing
        self.img = background.convert("RGB").resize(
            (self.w * self.s, self.h * self.s), Image.Resampling.NEAREST)
        self.draw = ImageDraw.Draw(self.img, "RGBA")

    def _copies(self, pts, pad=0.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        s = self.s
        for dx in _shifts(min(xs) - pad, max(xs) + pad, self.w):
            for dy in _shifts(min(ys) - pad, max(ys) + pad, self.h):
                yield [((x + dx) * s, (y + dy) * s) for x, y in pts]

    def polygon(self, pts, fill):
        for p in self._copies(pts):
            self.draw.polygon(p, fill=fill)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1.0):
        for (x0, y0), (x1, y1) in self._copies([(cx - rx, cy - ry), (cx + rx, cy + ry)], width):
            self.draw.ellipse((x0, y0, x1, y1), fill=fill, outline=outline,
                              width=max(1, round(width * self.s)))

    def arc(self, cx, cy, r, start, end, fill, width=1.0):
        for (x0, y0), (x1, y1) in self._copies([(cx - r, cy - r), (cx + r, cy + r)], width):
            self.draw.arc((x0, y0, x1, y1), start, end, fill=fill,
                          width=max(1, round(width * self.s)))

    def line(self, pts, fill, width=1.0):
        for p in self._copies(pts, width):
            self.draw.line(p, fill=fill, width=max(1, round(width * self.s)), joint="curve")

    def result(self):
        return self.img.reduce(self.ss)


def overlay_colour(base, colour, mask):
    """Tint base with colour where mask is bright."""
    return Image.composite(Image.new("RGB", base.size, colour), base, mask)


def scattered_points(rnd, n, w, h, min_dist, tries=4000):
    """Points roughly evenly spread over the torus."""
    pts = []
    for _ in range(tries):
        if len(pts) == n:
            break
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        if all(math.hypot(wdelta(x, px, w), wdelta(y, py, h)) >= min_dist for px, py in pts):
            pts.append((x, y))
    return pts
