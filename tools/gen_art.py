#!/usr/bin/env python3
"""Draws all of Pelmanix's artwork: card faces and backs, board tiles, the
application icon and a contact sheet of everything.

    /usr/bin/python3 tools/gen_art.py

Nothing is loaded from outside: letters come from the pixel font below, suit
symbols and pictures are computed from shapes and seeded noise, so every run
writes identical files.
"""

import colorsys
import math
import os
import random
import time

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageOps

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
IMG_DIR = os.path.join(ROOT, "res", "img")
SHEET_PATH = os.path.join(ROOT, "res", "contact-sheet.png")

CARD_W, CARD_H = 50, 68

# Every file written, for the checks at the end: path -> (size, colour limit).
WRITTEN = {}


# ---------------------------------------------------------------------------
# Palette images and saving

def bits_for(ncolours):
    return 1 if ncolours <= 2 else 4 if ncolours <= 16 else 8


def to_indexed(img, ncolours):
    """Palette image with at most ncolours entries.  Pictures that already fit
    keep their exact colours; others go through median cut first."""
    rgb = img.convert("RGB")
    if rgb.getcolors(ncolours) is None:
        rgb = rgb.quantize(colors=ncolours, method=Image.Quantize.MEDIANCUT,
                           dither=Image.Dither.NONE).convert("RGB")
    colours = sorted(c for _, c in rgb.getcolors(ncolours))
    index = {c: i for i, c in enumerate(colours)}
    out = Image.frombytes("P", rgb.size, bytes(index[c] for c in rgb.getdata()))
    slots = 1 << bits_for(ncolours)
    out.putpalette([v for c in colours for v in c] + [0, 0, 0] * (slots - len(colours)))
    return out


def save_indexed(img, name, ncolours):
    path = os.path.join(IMG_DIR, f"{name}.png")
    to_indexed(img, ncolours).save(path, bits=bits_for(ncolours), optimize=True)
    WRITTEN[path] = (img.size, ncolours)
    return path


def save_rgba(img, name):
    path = os.path.join(IMG_DIR, f"{name}.png")
    img.save(path, optimize=True)
    WRITTEN[path] = (img.size, None)
    return path


# ---------------------------------------------------------------------------
# Pixel font: just what the cards and the contact sheet need.

GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    # "10" is one glyph so it stays narrow enough for the card corner.
    "10": [".#...##.", "##..#..#", ".#..#..#", ".#..#..#",
           ".#..#..#", ".#..#..#", "###..##."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "-": [".....", ".....", ".....", ".###.", ".....", ".....", "....."],
}
GLYPH_H = 7


def glyph_width(ch, scale=1):
    return len(GLYPHS[ch][0]) * scale


def draw_glyph(img, x, y, ch, colour, scale=1):
    for j, row in enumerate(GLYPHS[ch]):
        for i, bit in enumerate(row):
            if bit == "#":
                img.paste(colour, (x + i * scale, y + j * scale,
                                   x + (i + 1) * scale, y + (j + 1) * scale))


def text_width(text, scale=1):
    return sum(glyph_width(c, scale) + scale for c in text) - scale


def draw_text(img, x, y, text, colour, scale=1):
    for ch in text:
        draw_glyph(img, x, y, ch, colour, scale)
        x += glyph_width(ch, scale) + scale


# ---------------------------------------------------------------------------
# Suit symbols as point-in-shape tests on the unit square (y grows downward).

def in_polygon(x, y, pts):
    inside = False
    for (x1, y1), (x2, y2) in zip(pts, pts[1:] + pts[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def in_heart(u, v):
    r2 = 0.25 ** 2
    if (u - 0.27) ** 2 + (v - 0.30) ** 2 <= r2 or (u - 0.73) ** 2 + (v - 0.30) ** 2 <= r2:
        return True
    return in_polygon(u, v, [(0.025, 0.38), (0.5, 0.30), (0.975, 0.38), (0.5, 0.98)])


def in_spade(u, v):
    if v <= 0.76 and in_heart(u, 1 - v / 0.76):
        return True
    return in_polygon(u, v, [(0.5, 0.5), (0.7, 1.0), (0.3, 1.0)])


def in_diamond(u, v):
    return abs(u - 0.5) / 0.42 + abs(v - 0.5) / 0.5 <= 1


def in_club(u, v):
    # Lobes kept apart so the clover reads differently from a spade at 7 px.
    r2 = 0.22 ** 2
    for cx, cy in ((0.5, 0.23), (0.22, 0.6), (0.78, 0.6)):
        if (u - cx) ** 2 + (v - cy) ** 2 <= r2:
            return True
    if (u - 0.5) ** 2 + (v - 0.6) ** 2 <= 0.06 ** 2:
        return True
    return in_polygon(u, v, [(0.5, 0.5), (0.68, 1.0), (0.32, 1.0)])


SUIT_SHAPES = {"spade": in_spade, "heart": in_heart, "diamond": in_diamond, "club": in_club}
_mask_cache = {}


def suit_mask(suit, w, h, ss=4):
    """Hard-edged mask: a pixel is ink when at least half of it is inside."""
    key = (suit, w, h)
    if key not in _mask_cache:
        inside = SUIT_SHAPES[suit]
        data = []
        for j in range(h):
            for i in range(w):
                hits = sum(inside((i + (a + 0.5) / ss) / w, (j + (b + 0.5) / ss) / h)
                           for a in range(ss) for b in range(ss))
                data.append(255 if 2 * hits >= ss * ss else 0)
        m = Image.new("L", (w, h))
        m.putdata(data)
        _mask_cache[key] = m
    return _mask_cache[key]


def stamp(img, mask, x, y, colour, flip=False):
    if flip:
        mask = mask.transpose(Image.Transpose.ROTATE_180)
    img.paste(colour, (x, y), mask)


# ---------------------------------------------------------------------------
# Card faces

INK = {"black": (20, 20, 24), "red": (206, 18, 36)}
WHITE = (255, 255, 255)
EDGE = (44, 44, 52)
OUTSIDE = (104, 118, 104)   # corner pixels beyond the rounding
CREAM = (255, 243, 206)
NAVY = (34, 52, 140)
GOLD = (234, 178, 40)
DARK_GOLD = (150, 98, 22)

SUIT_OF = {1: "spade", 2: "heart", 3: "diamond", 4: "club"}


def suit_ink(suit):
    return INK["red"] if suit in ("heart", "diamond") else INK["black"]


def blank_card(fill=WHITE):
    img = Image.new("RGB", (CARD_W, CARD_H), fill)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, CARD_W - 1, CARD_H - 1), outline=EDGE)
    # Round each corner by two pixels.
    for cx, sx in ((0, 1), (CARD_W - 1, -1)):
        for cy, sy in ((0, 1), (CARD_H - 1, -1)):
            for dx, dy in ((0, 0), (1, 0), (0, 1)):
                img.putpixel((cx + sx * dx, cy + sy * dy), OUTSIDE)
            img.putpixel((cx + sx, cy + sy), EDGE)
    return img


def add_corner_index(card, label, suit):
    layer = Image.new("RGBA", card.size, (0, 0, 0, 0))
    colour = suit_ink(suit) + (255,)
    x = 2 if label == "10" else 3
    draw_glyph(layer, x, 4, label, colour)
    stamp(layer, suit_mask(suit, 7, 7), 2, 13, colour)
    card.paste(layer, (0, 0), layer)
    turned = layer.transpose(Image.Transpose.ROTATE_180)
    card.paste(turned, (0, 0), turned)


# Pip grid: three columns, rows from the top pip to its mirror image.
PIP = 9
PIP_COLS = {"L": 11, "C": 20, "R": 30}
PIP_TOP, PIP_BOTTOM = 7, CARD_H - 1 - 7 - (PIP - 1)


def pip_row(t):
    return round(PIP_TOP + (PIP_BOTTOM - PIP_TOP) * t)


PIP_LAYOUT = {
    2: [("C", 0), ("C", 1)],
    3: [("C", 0), ("C", 0.5), ("C", 1)],
    4: [(c, t) for c in "LR" for t in (0, 1)],
    5: [(c, t) for c in "LR" for t in (0, 1)] + [("C", 0.5)],
    6: [(c, t) for c in "LR" for t in (0, 0.5, 1)],
    7: [(c, t) for c in "LR" for t in (0, 0.5, 1)] + [("C", 0.25)],
    8: [(c, t) for c in "LR" for t in (0, 0.5, 1)] + [("C", 0.25), ("C", 0.75)],
    9: [(c, t) for c in "LR" for t in (0, 1 / 3, 2 / 3, 1)] + [("C", 0.5)],
    10: [(c, t) for c in "LR" for t in (0, 1 / 3, 2 / 3, 1)] + [("C", 1 / 6), ("C", 5 / 6)],
}


def draw_pips(card, suit, rank):
    colour = suit_ink(suit)
    mask = suit_mask(suit, PIP, PIP)
    for col, t in PIP_LAYOUT[rank]:
        y = pip_row(t)
        if t > 0.5:   # lower half is drawn upside down, as on printed cards
            y = CARD_H - PIP - pip_row(1 - t)
        stamp(card, mask, PIP_COLS[col], y, colour, flip=t > 0.5)


def draw_ace(card, suit):
    w, h = (25, 27) if suit == "spade" else (21, 23)
    x, y = (CARD_W - w) // 2, (CARD_H - h) // 2
    stamp(card, suit_mask(suit, w, h), x, y, suit_ink(suit))
    if suit == "spade":   # the ace of spades traditionally gets a little extra
        d = ImageDraw.Draw(card)
        d.ellipse((x - 4, y - 3, x + w + 3, y + h + 2), outline=DARK_GOLD)


def draw_headgear(d, rank, x0, y0):
    """Crown, tiara or cap inside a 16 x 7 box at (x0, y0)."""
    X = lambda v: x0 + v
    Y = lambda v: y0 + v
    if rank == 13:
        d.polygon([(X(0), Y(6)), (X(0), Y(0)), (X(3), Y(3)), (X(7), Y(0)), (X(8), Y(0)),
                   (X(12), Y(3)), (X(15), Y(0)), (X(15), Y(6))], fill=GOLD, outline=DARK_GOLD)
        d.line((X(1), Y(5), X(14), Y(5)), fill=DARK_GOLD)
        for px in (0, 7, 8, 15):
            d.point((X(px), Y(0)), fill=INK["red"])
        d.point([(X(4), Y(4)), (X(11), Y(4))], fill=NAVY)
    elif rank == 12:
        d.chord((X(1), Y(0), X(14), Y(11)), 180, 360, fill=GOLD, outline=DARK_GOLD)
        d.rectangle((X(0), Y(5), X(15), Y(6)), fill=DARK_GOLD)
        d.point([(X(7), Y(2)), (X(8), Y(2)), (X(7), Y(3)), (X(8), Y(3))], fill=INK["red"])
        d.point([(X(4), Y(3)), (X(11), Y(3))], fill=WHITE)
    else:
        d.polygon([(X(1), Y(6)), (X(2), Y(3)), (X(6), Y(1)), (X(12), Y(1)), (X(15), Y(4)),
                   (X(15), Y(6))], fill=NAVY)
        d.line((X(1), Y(6), X(15), Y(6)), fill=GOLD)
        d.line((X(11), Y(2), X(14), Y(-1)), fill=INK["red"], width=2)


def draw_court(card, suit, rank):
    d = ImageDraw.Draw(card)
    ink = suit_ink(suit)
    d.rectangle((9, 7, 40, 60), outline=NAVY)
    d.rectangle((10, 8, 39, 59), outline=GOLD, fill=CREAM)
    # Everything is drawn in the top half, then repeated turned round.
    half = Image.new("RGBA", card.size, (0, 0, 0, 0))
    hd = ImageDraw.Draw(half)
    draw_headgear(hd, rank, 17, 10)
    letter = {11: "J", 12: "Q", 13: "K"}[rank]
    draw_glyph(half, 20, 18, letter, ink + (255,), scale=2)
    pip = suit_mask(suit, 7, 7)
    stamp(half, pip, 12, 22, ink + (255,))
    stamp(half, pip, 31, 22, ink + (255,))
    hd.line((13, 31, 18, 31), fill=DARK_GOLD + (255,))
    hd.line((31, 31, 36, 31), fill=DARK_GOLD + (255,))
    card.paste(half, (0, 0), half)
    turned = half.transpose(Image.Transpose.ROTATE_180)
    card.paste(turned, (0, 0), turned)
    d.line((11, 33, 38, 33), fill=GOLD)
    d.line((11, 34, 38, 34), fill=GOLD)


def make_face(suit, rank):
    card = blank_card()
    label = {1: "A", 10: "10", 11: "J", 12: "Q", 13: "K"}.get(rank, str(rank))
    if rank == 1:
        draw_ace(card, suit)
    elif rank <= 10:
        draw_pips(card, suit, rank)
    else:
        draw_court(card, suit, rank)
    add_corner_index(card, label, suit)
    return card


# ---------------------------------------------------------------------------
# Card backs

def card_back(frame, pattern):
    """White-margined card with a framed panel; pattern(du, dv) gets offsets
    from the panel centre (half-integers), so even functions keep the back
    the same when the card is turned round."""
    card = blank_card()
    d = ImageDraw.Draw(card)
    x0, y0, x1, y1 = 3, 3, CARD_W - 4, CARD_H - 4
    d.rectangle((x0, y0, x1, y1), outline=frame)
    cx, cy = (x0 + 1 + x1 - 1) / 2, (y0 + 1 + y1 - 1) / 2
    for y in range(y0 + 1, y1):
        for x in range(x0 + 1, x1):
            card.putpixel((x, y), pattern(x - cx, y - cy))
    return card


def fold(v, period):
    """Distance from the middle of the repeat, symmetric in v."""
    return abs((v % period) - period / 2)


def back_blue_lattice(du, dv):
    # Diagonal lines with a softer pixel either side, so they read as lines
    # rather than a checkerboard.
    a, b = fold(du + dv, 8), fold(du - dv, 8)
    if a == 0 and b == 0:
        return (232, 240, 255)
    if a == 0 or b == 0:
        return (150, 182, 242)
    if a == 1 or b == 1:
        return (72, 104, 196)
    return (30, 62, 160)


def back_red_diamonds(du, dv):
    d = fold(du, 8) + fold(dv, 8)
    if d <= 1:
        return (255, 214, 214)
    if d <= 3:
        return (228, 92, 100)
    if d <= 4:
        return (110, 12, 24)
    return (176, 28, 40)


def back_green_checks(du, dv):
    a, b = fold(du, 10) < 2, fold(dv, 10) < 2
    if fold(du, 10) == 4.5 or fold(dv, 10) == 4.5:
        return (222, 240, 222)
    if a and b:
        return (18, 78, 40)
    if a or b:
        return (46, 124, 66)
    return (96, 168, 108)


def back_purple_gold(du, dv):
    if abs(du) + abs(dv) <= 9:          # central medallion
        d = abs(du) + abs(dv)
        if d <= 3:
            return (248, 204, 72)
        if d <= 6:
            return (70, 24, 100)
        return (248, 204, 72) if d <= 8 else (40, 10, 60)
    a, b = fold(du, 10), fold(dv, 10)
    d = a + b
    if max(a, b) >= 4.5:
        return (46, 14, 68)
    if d == 4:
        return (236, 188, 60)
    if d <= 1:
        return (236, 188, 60)
    if d <= 3:
        return (150, 96, 190)
    return (92, 36, 128)


# ---------------------------------------------------------------------------
# Seamless helpers

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
    """Smooth value noise that repeats every w x h pixels."""
    small = Image.new("L", (cx, cy))
    small.putdata([rnd.randrange(256) for _ in range(cx * cy)])
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


def pixel_image(w, h, fn, mode="RGB"):
    img = Image.new(mode, (w, h))
    img.putdata([fn(x, y) for y in range(h) for x in range(w)])
    return img


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
        self.w, self.h = background.size
        self.ss = ss
        self.img = background.convert("RGB").resize(
            (self.w * ss, self.h * ss), Image.Resampling.NEAREST)
        self.draw = ImageDraw.Draw(self.img, "RGBA")

    def _copies(self, pts, pad=0.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        s = self.ss
        for dx in _shifts(min(xs) - pad, max(xs) + pad, self.w):
            for dy in _shifts(min(ys) - pad, max(ys) + pad, self.h):
                yield [((x + dx) * s, (y + dy) * s) for x, y in pts]

    def polygon(self, pts, fill):
        for p in self._copies(pts):
            self.draw.polygon(p, fill=fill)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1.0):
        for (x0, y0), (x1, y1) in self._copies([(cx - rx, cy - ry), (cx + rx, cy + ry)], width):
            self.draw.ellipse((x0, y0, x1, y1), fill=fill, outline=outline,
                              width=max(1, round(width * self.ss)))

    def arc(self, cx, cy, r, start, end, fill, width=1.0):
        for (x0, y0), (x1, y1) in self._copies([(cx - r, cy - r), (cx + r, cy + r)], width):
            self.draw.arc((x0, y0, x1, y1), start, end, fill=fill,
                          width=max(1, round(width * self.ss)))

    def line(self, pts, fill, width=1.0):
        for p in self._copies(pts, width):
            self.draw.line(p, fill=fill, width=max(1, round(width * self.ss)), joint="curve")

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


# ---------------------------------------------------------------------------
# Tiles

def soap_bubbles(w, h, count, rmin, rmax, seed, ss=4):
    bg = colorize(fractal_noise(w, h, (2, 2), 4, seed),
                  [(0, (12, 20, 52)), (0.55, (22, 54, 92)), (1, (52, 44, 104))])
    cv = WrapCanvas(bg, ss)
    rnd = random.Random(seed)
    placed = []
    for _ in range(2000):
        if len(placed) == count:
            break
        r = rnd.uniform(rmin, rmax)
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        if all(math.hypot(wdelta(x, px, w), wdelta(y, py, h)) > (r + pr) * 0.8
               for px, py, pr in placed):
            placed.append((x, y, r))
    placed.sort(key=lambda b: b[2], reverse=True)
    for x, y, r in placed:
        cv.ellipse(x, y, r, r, fill=(170, 210, 255, 22))
        rim = max(0.8, r * 0.07)
        phase = rnd.random()
        segments = 24
        for k in range(segments):
            a0 = 360 * k / segments
            colour = hsv(phase + k / segments * 1.5, 0.55, 1.0, 150)
            cv.arc(x, y, r, a0, a0 + 360 / segments + 1, colour, rim)
        cv.arc(x, y, r - rim * 1.6, 200, 340, (255, 255, 255, 40), rim)
        cv.ellipse(x - r * 0.42, y - r * 0.45, r * 0.2, r * 0.13, fill=(255, 255, 255, 200))
        cv.ellipse(x + r * 0.45, y + r * 0.42, r * 0.08, r * 0.06, fill=(255, 255, 255, 140))
        cv.arc(x, y, r * 0.78, 20, 70, (255, 255, 255, 70), max(0.6, rim * 0.8))
    return cv.result()


def tile_coffee_cup():
    w = h = 128
    bg = colorize(fractal_noise(w, h, (4, 4), 4, 202),
                  [(0, (38, 22, 16)), (0.6, (62, 38, 26)), (1, (84, 54, 36))])
    cv = WrapCanvas(bg, 4)
    rnd = random.Random(2020)
    # Scattered roasted beans
    for x, y in scattered_points(rnd, 14, w, h, 20):
        if abs(wdelta(x, 64, w)) < 40 and abs(wdelta(y, 66, h)) < 40:
            continue
        a = rnd.uniform(0, math.pi)
        cv.polygon(ellipse_points(x + 1, y + 1.5, 6, 4, a), (20, 10, 6, 120))
        cv.polygon(ellipse_points(x, y, 6, 4, a), (96, 56, 32, 255))
        cv.polygon(ellipse_points(x - 0.8, y - 0.8, 4, 2.2, a), (122, 74, 44, 160))
        crease = [(t, 1.2 * math.sin(t * 0.8)) for t in (-4.5, -2.5, 0, 2.5, 4.5)]
        cv.line(transform(crease, x, y, a), (40, 20, 12, 255), 0.9)
    cream, shade, band = (236, 228, 212, 255), (196, 184, 166, 255), (70, 96, 150, 255)
    # Saucer
    cv.ellipse(66, 90, 36, 11, fill=(20, 10, 6, 110))
    cv.ellipse(64, 86, 36, 11, fill=shade)
    cv.ellipse(64, 85, 35, 10, fill=cream)
    cv.ellipse(64, 86, 22, 6, fill=(214, 204, 186, 255))
    cv.ellipse(64, 85, 35, 10, outline=band, width=1.2)
    # Handle behind the body
    cv.ellipse(87, 64, 10, 9, outline=shade, width=4.2)
    cv.ellipse(87, 64, 10, 9, outline=cream, width=3)
    # Body: a rim ellipse sweeping down into a rounded bottom
    body = [(42 + 6 * t ** 2, 52 + 30 * t) for t in [i / 10 for i in range(11)]]
    body += [(64 + 16 * math.cos(math.pi - math.pi * i / 10), 82 + 3 * math.sin(math.pi * i / 10))
             for i in range(11)]
    body += [(86 - 6 * t ** 2, 52 + 30 * t) for t in [i / 10 for i in range(10, -1, -1)]]
    cv.polygon(body, cream)
    right = [(70 + 10 * t ** 0.5, 53 + 29 * t) for t in [i / 10 for i in range(11)]]
    right += [(86 - 6 * t ** 2, 52 + 30 * t) for t in [i / 10 for i in range(10, -1, -1)]]
    cv.polygon(right, (150, 130, 110, 90))
    cv.line([(44.5, 66), (64, 69), (83.5, 66)], band, 2.2)
    cv.line([(45.5, 71), (64, 74), (82.5, 71)], band, 0.9)
    # Rim and coffee
    cv.ellipse(64, 52, 22, 6, fill=(246, 240, 228, 255))
    cv.ellipse(64, 53, 19.5, 4.6, fill=(150, 98, 58, 255))
    cv.ellipse(64, 53.6, 18, 3.8, fill=(86, 48, 26, 255))
    cv.ellipse(58, 52.6, 5, 1.2, fill=(200, 150, 100, 90))
    # Steam
    for k, x0 in enumerate((56, 64, 72)):
        pts = [(x0 + 3 * math.sin(t / 4 + k), 46 - t) for t in range(0, 26)]
        cv.line(pts, (255, 255, 255, 60 - 8 * k), 2)
    return cv.result()


def tile_triangles():
    pal = {"up0": (52, 70, 112), "dn0": (38, 50, 86), "up1": (62, 58, 106),
           "dn1": (44, 40, 80), "hi": (96, 112, 160), "lo": (26, 30, 56)}

    def px(x, y):
        band, t = divmod(y, 8)
        xx = (x + 8 * band) % 16
        off = abs(xx + 0.5 - 8)
        if off <= t + 1:
            if off > t:                       # the sloping edges
                return pal["hi"] if xx < 8 else pal["lo"]
            return pal[f"up{band}"]
        return pal[f"dn{band}"]
    return pixel_image(16, 16, px)


def tile_bamboo():
    w, h = 30, 32
    gap = (18, 34, 20)
    shades = [(46, 84, 36), (70, 116, 46), (96, 144, 58), (126, 170, 74),
              (160, 196, 100), (108, 154, 64), (84, 130, 52), (58, 98, 40)]
    node_dark, node_light = (34, 62, 28), (176, 206, 120)
    nodes = [5, 21, 13]

    def px(x, y):
        stalk, u = divmod(x, 10)
        if u == 0:
            return gap
        n = nodes[stalk]
        dy = (y - n) % h
        colour = shades[min(u - 1, len(shades) - 1)] if u < 9 else shades[0]
        if dy == 0:
            return node_dark
        if dy == 1:
            return node_light if 1 < u < 9 else colour
        if dy == h - 1:
            return shades[0] if u != 5 else shades[2]
        return colour
    return pixel_image(w, h, px)


def tile_pinstripe():
    base = [(32, 36, 52), (36, 40, 57)]

    def px(x, y):
        if x % 10 == 4:
            return (150, 156, 182) if y % 2 == 0 else (118, 124, 150)
        if x % 10 in (3, 5):
            return (40, 44, 62)
        return base[(x + y) % 2]
    return pixel_image(30, 32, px)


def tile_black_floor():
    w, h = 31, 30
    # Raised tread-plate studs, alternating slant like a checker plate.
    studs = [(7.5, 7, 1), (23, 7, -1), (7.5, 22, -1), (23, 22, 1)]
    c = math.cos(math.pi / 4)

    def px(x, y):
        for sx, sy, slant in studs:
            dx, dy = wdelta(x + 0.5, sx, w), wdelta(y + 0.5, sy, h)
            a = (dx + slant * dy) * c
            b = (dx - slant * dy) * c
            if (a / 1.4) ** 2 + (b / 4.6) ** 2 <= 1:
                return (74, 74, 80)
        return (14, 14, 16)
    return pixel_image(w, h, px)


def tile_blue_wave():
    """Overlapping fans of concentric arcs; each row of fans is drawn over
    the row above it, so only their upper halves show."""
    w = h = 32
    r = 16
    dark, light = (16, 34, 92), (72, 124, 212)

    def px(x, y):
        best = None
        for row in range(4):
            # how far below this pixel the row's centres lie, going round the tile
            below = (row * 8 - (y + 0.5)) % h
            if below > r:
                continue
            for cx in ((0,) if row % 2 == 0 else (16,)):
                d = math.hypot(wdelta(x + 0.5, cx, w), below)
                if d < r and (best is None or below > best[0]):
                    best = (below, d)
        if best is None:
            return dark
        d = best[1]
        return light if (d % 4) < 1.6 or d > r - 1 else dark
    return pixel_image(w, h, px)


def tile_blue_rivets():
    w = h = 16
    rnd = random.Random(209)
    rows = [rnd.uniform(-0.04, 0.04) for _ in range(h)]

    def px(x, y):
        base = 0.42 + rows[y] + (0.03 if (x + 2 * y) % 5 == 0 else 0)
        dx, dy = x + 0.5 - 8, y + 0.5 - 8
        d = math.hypot(dx, dy)
        if d < 3.6:
            nz = math.sqrt(max(0.0, 1 - (d / 3.6) ** 2))
            light = (-dx * 0.5 - dy * 0.6) / 3.6 + nz * 0.6
            v = 0.32 + 0.55 * max(0.0, light)
        elif math.hypot(dx - 1, dy - 1) < 3.9:
            v = base - 0.16
        elif d < 4.3 and dy < 0:
            v = base - 0.08
        else:
            v = base
        if x == 0 or y == 0:
            v -= 0.1
        if x == 1 or y == 1:
            v += 0.06
        v = min(1.0, max(0.0, v))
        return (round(40 * v + 10), round(110 * v + 20), round(200 * v + 40))
    return pixel_image(w, h, px)


def tile_blue_rings():
    """Interlinked rings: each ring passes over two of its neighbours and
    under the other two, with a gap cut where it goes under."""
    w = h = 32
    dark, light = (14, 26, 78), (90, 150, 230)
    rin, rout = 10.0, 13.5
    rings = [(16, 16, "A"), (0, 0, "B")]

    def over(kind, dx, dy):
        # Direction from this ring's centre to the crossing point.
        ne_sw = (dx > 0) == (dy < 0)
        return ne_sw if kind == "A" else not ne_sw

    def px(x, y):
        hits = []
        for cx, cy, kind in rings:
            dx, dy = wdelta(x + 0.5, cx, w), wdelta(y + 0.5, cy, h)
            d = math.hypot(dx, dy)
            hits.append((kind, dx, dy, d))
        for kind, dx, dy, d in hits:
            if not rin <= d <= rout:
                continue
            blocked = False
            for k2, dx2, dy2, d2 in hits:
                if k2 != kind and rin - 1.2 <= d2 <= rout + 1.2 and over(k2, dx2, dy2):
                    blocked = True
            if not blocked:
                return light
        return dark
    return pixel_image(w, h, px)


def tile_red_tiles():
    rnd = random.Random(211)
    bases = [(150, 38, 34), (140, 34, 32), (158, 44, 38), (144, 40, 30)]
    speck = [mix(b, (90, 20, 18), 0.35) for b in bases]
    specks = {(rnd.randrange(2, 14), rnd.randrange(2, 14), t) for t in range(4) for _ in range(5)}

    def px(x, y):
        u, v = x % 16, y % 16
        t = (x // 16) + 2 * (y // 16)
        if u == 15 or v == 15:
            return (64, 44, 40)
        if u == 0 or v == 0:
            return (196, 84, 70)
        if u == 14 or v == 14:
            return (104, 24, 22)
        if (u, v, t) in specks:
            return speck[t]
        return bases[t]
    return pixel_image(32, 32, px)


def draw_feather(cv, x, y, length, width, angle, colour, rnd):
    """A feather along +x in local space: a soft vane of many curved barbs
    raked toward the tip, loose down at the base, and a tapering quill."""
    bend = rnd.uniform(-0.08, 0.08)

    def quill_at(t):
        qx = t * length - length / 2
        return qx, bend * qx * qx / length

    def half_width(t):
        return math.sin(math.pi * min(1.0, 0.08 + t * 1.05)) ** 0.6 * width / 2

    for side in (-1, 1):
        vane = [quill_at(i / 20) for i in range(21)]
        vane += [(qx + half_width(t) * 0.5, qy + side * half_width(t))
                 for t in [i / 20 for i in range(20, -1, -1)] for qx, qy in [quill_at(t)]]
        cv.polygon(transform(vane, x, y, angle), colour + (46,))
    for i in range(90):
        t = i / 89
        qx, qy = quill_at(t)
        hw = half_width(t)
        fluffy = t < 0.22
        for side in (-1, 1):
            rake = 0.25 if fluffy else 0.55
            ex = qx + hw * rake + rnd.uniform(-0.4, 0.4)
            ey = qy + side * hw * (1.25 if fluffy else 1.0)
            mid = (qx + hw * rake * 0.3, (qy + ey) / 2 + side * 0.3)
            alpha = 55 if fluffy else 95
            cv.line(transform([(qx, qy), mid, (ex, ey)], x, y, angle), colour + (alpha,), 0.35)
    quill = [quill_at(i / 12) for i in range(12)]
    cv.line(transform(quill, x, y, angle), (240, 232, 214, 220), 0.9)
    cv.line(transform(quill[6:], x, y, angle), (250, 246, 236, 255), 0.5)


def tile_feathers():
    w = h = 128
    bg = colorize(fractal_noise(w, h, (3, 3), 4, 212),
                  [(0, (56, 56, 72)), (0.6, (76, 74, 92)), (1, (98, 90, 104))])
    cv = WrapCanvas(bg, 4)
    rnd = random.Random(1212)
    tones = [(244, 240, 232), (226, 214, 200), (206, 210, 224), (250, 246, 240)]
    for x, y in scattered_points(rnd, 9, w, h, 30):
        draw_feather(cv, x, y, rnd.uniform(40, 64), rnd.uniform(12, 18),
                     rnd.uniform(0, 2 * math.pi), rnd.choice(tones), rnd)
    # wisps of loose down
    for x, y in scattered_points(rnd, 7, w, h, 20):
        for k in range(14):
            a = 2 * math.pi * k / 14 + rnd.uniform(-0.2, 0.2)
            l = rnd.uniform(3, 6)
            cv.line([(x, y), (x + l * math.cos(a), y + l * math.sin(a))], (240, 236, 230, 60), 0.5)
    return cv.result()


EGYPT_GLYPHS = [
    ["..........", "....##....", "...####...", "...#..#...", "..######..",
     "..#....#..", ".########.", ".#......#.", "##########", ".........."],
    ["..........", "...####...", ".##....##.", "#...##...#", "#..####..#",
     ".##.##.##.", "...####...", "....#.....", "....#..#..", ".....##..."],
    ["...####...", "..#....#..", "..#....#..", "...#..#...", "##########",
     "....##....", "....##....", "....##....", "....##....", "....##...."],
    ["..........", ".#..#..#..", "#.##.##.##", "..........", ".#..#..#..",
     "#.##.##.##", "..........", ".#..#..#..", "#.##.##.##", ".........."],
]


def tile_egypt():
    rnd = random.Random(213)
    stones = [(198, 164, 108), (190, 156, 100), (204, 172, 116), (186, 152, 98)]
    grain = {(x, y) for x in range(32) for y in range(32) if rnd.random() < 0.08}
    mortar, carve, lit = (122, 96, 62), (104, 78, 46), (232, 206, 152)

    def carved(x, y):
        u, v = x % 16 - 3, y % 16 - 3
        g = EGYPT_GLYPHS[(x // 16) + 2 * (y // 16)]
        return 0 <= u < 10 and 0 <= v < 10 and g[v][u] == "#"

    def px(x, y):
        u, v = x % 16, y % 16
        if u == 15 or v == 15:
            return mortar
        if carved(x, y):
            return carve
        if carved(x - 1, y - 1) or carved(x, y - 1):
            return lit
        base = stones[(x // 16) + 2 * (y // 16)]
        return mix(base, mortar, 0.25) if (x, y) in grain else base
    return pixel_image(32, 32, px)


def draw_blossom(cv, x, y, r, angle, petal, centre):
    for k in range(5):
        a = angle + 2 * math.pi * k / 5
        px, py = x + r * 0.55 * math.cos(a), y + r * 0.55 * math.sin(a)
        cv.polygon(ellipse_points(px, py, r * 0.5, r * 0.36, a, 16), petal)
    cv.ellipse(x, y, r * 0.22, r * 0.22, fill=centre)
    for k in range(5):
        a = angle + 2 * math.pi * (k + 0.5) / 5
        cv.ellipse(x + r * 0.38 * math.cos(a), y + r * 0.38 * math.sin(a), r * 0.06, r * 0.06,
                   fill=(250, 220, 120, 220))


def grow_branch(rnd, x, y, angle, length, width, depth, segs, tips):
    pts = [(x, y)]
    for _ in range(int(length / 6)):
        angle += rnd.uniform(-0.35, 0.35)
        x += 6 * math.cos(angle)
        y += 6 * math.sin(angle)
        pts.append((x, y))
    segs.append((pts, width))
    tips.append((x, y))
    if depth > 0:
        for _ in range(rnd.randint(2, 3)):
            i = rnd.randrange(1, len(pts))
            grow_branch(rnd, *pts[i], angle + rnd.choice((-1, 1)) * rnd.uniform(0.5, 1.0),
                        length * rnd.uniform(0.4, 0.6), max(1.0, width * 0.55), depth - 1,
                        segs, tips)


def tile_hanami():
    w, h = 320, 240
    bg = colorize(fractal_noise(w, h, (4, 3), 5, 214),
                  [(0, (28, 22, 52)), (0.55, (52, 38, 80)), (0.85, (86, 56, 100)),
                   (1, (120, 76, 116))])
    cv = WrapCanvas(bg, 3)
    rnd = random.Random(1414)
    segs, tips = [], []
    for x, y, a in ((20, 200, -0.5), (180, 120, -2.6), (250, 230, -1.2)):
        grow_branch(rnd, x, y, a, 150, 5.0, 2, segs, tips)
    for pts, width in segs:
        cv.line(pts, (34, 22, 24, 255), width)
        cv.line([(px - width * 0.2, py - width * 0.3) for px, py in pts], (70, 48, 46, 140),
                max(0.6, width * 0.3))
    petals = [(255, 206, 222, 240), (255, 228, 236, 240), (244, 170, 196, 240)]
    spots = []
    for pts, width in segs:
        for px, py in pts[1:]:
            if rnd.random() < (0.9 if width < 2 else 0.45):
                spots.append((px + rnd.uniform(-5, 5), py + rnd.uniform(-5, 5)))
    spots += [(x + rnd.uniform(-6, 6), y + rnd.uniform(-6, 6)) for x, y in tips for _ in range(3)]
    for x, y in spots:
        draw_blossom(cv, x, y, rnd.uniform(3.5, 5.5), rnd.uniform(0, 2 * math.pi),
                     rnd.choice(petals), (214, 84, 122, 255))
    # A string of paper lanterns sagging between posts
    span = 80
    sag = [(x / 2, 18 + 9 * math.sin(math.pi * ((x / 2) % span) / span)) for x in range(0, 2 * w + 1)]
    cv.line(sag, (20, 14, 16, 255), 0.8)
    glow = Image.new("L", (w, h), 0)
    gd = ImageDraw.Draw(glow)
    for k in range(4):
        x = span / 2 + span * k
        gd.ellipse((x - 16, 27 - 16, x + 16, 27 + 20), fill=110)
    for k in range(4):
        x, y = span / 2 + span * k, 36
        cv.line([(x, 27), (x, 29)], (20, 14, 16, 255), 0.8)
        cv.polygon(ellipse_points(x, y, 7, 8.5, 0, 24), (214, 70, 40, 255))
        cv.polygon(ellipse_points(x - 1.5, y - 1.5, 3.5, 5, 0, 20), (255, 170, 90, 140))
        for dx in (-4, 0, 4):       # paper ribs
            cv.line([(x + dx * 0.7, y - 7.6), (x + dx, y), (x + dx * 0.7, y + 7.6)],
                    (120, 30, 20, 160), 0.5)
        for top in (y - 9.5, y + 7.5):
            cv.polygon([(x - 4, top), (x + 4, top), (x + 4, top + 2), (x - 4, top + 2)],
                       (30, 20, 20, 255))
    # Petals drifting down
    for _ in range(70):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        cv.polygon(ellipse_points(x, y, 1.6, 1.0, rnd.uniform(0, math.pi), 10), rnd.choice(petals))
    img = cv.result()
    glow = wrap_filter(glow, ImageFilter.GaussianBlur(9))
    warm = Image.new("RGB", (w, h), (255, 150, 80))
    return Image.blend(img, Image.composite(warm, img, glow), 0.35)


def tile_sumida():
    w = h = 160
    # slow swells running across the river, gently bowed
    band = pixel_image(w, h, lambda x, y: round(127.5 + 127.5 * math.sin(
        2 * math.pi * (y / 40 + 0.12 * math.sin(2 * math.pi * x / w)))), "L")
    noise = fractal_noise(w, h, (4, 4), 4, 215)
    water = colorize(Image.blend(band, noise, 0.45),
                     [(0, (14, 30, 72)), (0.5, (24, 52, 102)), (1, (40, 82, 132))])
    cv = WrapCanvas(water, 4)
    rnd = random.Random(1515)
    # Stylised flowing lines with curling crests, in the manner of old prints
    for k in range(8):
        y0 = k * 20 + 6
        ph = rnd.random()
        amp = 2.5 + rnd.random() * 1.5
        pts = [(x / 2, y0 + amp * math.sin(2 * math.pi * (x / 2 / 80 + ph))) for x in range(0, 2 * w + 1)]
        cv.line(pts, (140, 184, 228, 150), 1.0)
        cv.line([(x, y + 2.5) for x, y in pts[::2]], (90, 130, 190, 80), 0.6)
        for c in range(2):
            cx = (0.25 - ph) * 80 + 80 * c
            cy = y0 - amp
            cv.arc(cx + 2.5, cy + 0.5, 2.5, 180, 330, (230, 240, 255, 200), 0.8)
            cv.arc(cx + 3.5, cy + 0.8, 1.2, 160, 360, (230, 240, 255, 160), 0.6)
    # A roofed pleasure boat with lit windows, and a punt with its boatman
    def boat(x, y, s, roof):
        hull = [(-22, 0), (22, 0), (26, -3), (20, 4), (-18, 4), (-25, -2)]
        cv.polygon(transform([(px, py + 5) for px, py in hull], x, y, 0, s), (10, 20, 44, 120))
        cv.polygon(transform(hull, x, y, 0, s), (58, 36, 26, 255))
        cv.line(transform([(-23, -1), (24, -1)], x, y, 0, s), (110, 74, 46, 255), 0.8 * s)
        if roof:
            cv.polygon(transform([(-15, -1), (15, -1), (15, -9), (-15, -9)], x, y, 0, s), (40, 26, 22, 255))
            for wx in (-12, -6, 0, 6):
                cv.polygon(transform([(wx, -3), (wx + 4, -3), (wx + 4, -7), (wx, -7)], x, y, 0, s),
                           (255, 196, 100, 255))
            cv.polygon(transform([(-18, -9), (18, -9), (14, -13), (-14, -13)], x, y, 0, s), (30, 20, 18, 255))
            cv.ellipse(x + 17 * s, y - 11 * s, 1.8 * s, 2.2 * s, fill=(230, 70, 40, 255))
        else:
            cv.polygon(transform([(8, -1), (12, -1), (11, -8), (9, -8)], x, y, 0, s), (30, 24, 30, 255))
            cv.ellipse(x + 10 * s, y - 9.5 * s, 1.6 * s, 1.6 * s, fill=(30, 24, 30, 255))
            cv.polygon(transform([(6, -10), (14, -10), (10, -12.5)], x, y, 0, s), (160, 130, 70, 255))
            cv.line(transform([(14, -16), (4, 8)], x, y, 0, s), (80, 60, 40, 255), 0.6 * s)
    boat(52, 62, 1.0, True)
    boat(122, 132, 0.7, False)
    for _ in range(26):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        cv.polygon(ellipse_points(x, y, 1.5, 1.0, rnd.uniform(0, math.pi), 10), (246, 190, 210, 220))
    return cv.result()


def tile_blue_lace():
    w = h = 48
    ss = 4
    thread = WrapCanvas(Image.new("RGB", (w, h), (0, 0, 0)), ss)
    white = (255, 255, 255, 255)
    # flower motif in the middle: ring of picots round a double circle
    thread.ellipse(24, 24, 11, 11, outline=white, width=1.1)
    thread.ellipse(24, 24, 6, 6, outline=white, width=1.0)
    thread.ellipse(24, 24, 1.6, 1.6, fill=white)
    for k in range(12):
        a = 2 * math.pi * k / 12
        thread.ellipse(24 + 13.5 * math.cos(a), 24 + 13.5 * math.sin(a), 2.5, 2.5, outline=white, width=0.9)
        thread.line([(24 + 6 * math.cos(a), 24 + 6 * math.sin(a)),
                     (24 + 11 * math.cos(a), 24 + 11 * math.sin(a))], white, 0.8)
    # star at the corners with spokes
    for k in range(8):
        a = 2 * math.pi * k / 8 + math.pi / 8
        thread.line([(0, 0), (8 * math.cos(a), 8 * math.sin(a))], white, 0.8)
    thread.ellipse(0, 0, 4, 4, outline=white, width=1.0)
    thread.ellipse(0, 0, 8, 8, outline=white, width=0.9)
    # bars tying the motifs together, and a net of small loops between them
    for sx, sy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
        thread.line([(24 + sx * 13, 24 + sy * 13), (24 + sx * 19, 24 + sy * 19)], white, 1.0)
    for x, y in ((24, 0), (0, 24)):
        thread.ellipse(x, y, 3.2, 3.2, outline=white, width=0.9)
        for k in range(4):
            a = math.pi / 2 * k
            thread.line([(x + 3.2 * math.cos(a), y + 3.2 * math.sin(a)),
                         (x + 8.5 * math.cos(a), y + 8.5 * math.sin(a))], white, 0.7)
    mask = thread.result().convert("L")
    shadow = ImageChops.offset(mask, 1, 1)     # offset wraps, so no seam
    out = overlay_colour(Image.new("RGB", (w, h), (20, 34, 86)), (8, 14, 44), shadow)
    return overlay_colour(out, (168, 200, 248), mask)


def tile_houndstooth():
    w, h = 27, 25
    dark, light = (38, 34, 40), (156, 146, 128)
    ss = 5

    def thread(u, v):
        # 4 dark / 4 light threads each way in a 2/2 twill: the classic check.
        i, j = int(u * 8) % 8, int(v * 8) % 8
        warp_dark, weft_dark = i < 4, j < 4
        return warp_dark if (i + j) % 4 < 2 else weft_dark

    def px(x, y):
        n = sum(thread((x + (a + 0.5) / ss) / w, (y + (b + 0.5) / ss) / h)
                for a in range(ss) for b in range(ss))
        return mix(light, dark, n / (ss * ss))
    return pixel_image(w, h, px)


def tile_prairie():
    w = h = 256
    bg = colorize(fractal_noise(w, h, (3, 3), 5, 218),
                  [(0, (34, 52, 26)), (0.5, (62, 86, 38)), (0.8, (100, 112, 52)), (1, (138, 132, 70))])
    wind = lambda x, y: math.sin(2 * math.pi * (x / w + 2 * y / h) + 1.5 * math.sin(2 * math.pi * y / h))
    streaks = pixel_image(w, h, lambda x, y: max(0, round(90 * wind(x, y) ** 3)), "L")
    bg = Image.composite(Image.new("RGB", (w, h), (170, 170, 110)), bg, streaks)
    cv = WrapCanvas(bg, 2)
    rnd = random.Random(1818)
    blades = [(rnd.uniform(0, w), rnd.uniform(0, h)) for _ in range(3400)]
    blades.sort(key=lambda p: p[1])
    greens = [(60, 96, 36), (96, 130, 52), (130, 146, 66), (176, 170, 92), (84, 120, 60),
              (36, 60, 26)]
    for x, y in blades:
        tall = rnd.uniform(8, 24)
        # blades bow further where the gusts are strongest
        lean = tall * (0.5 + 0.35 * wind(x, y))
        col = rnd.choice(greens)
        pts = [(x + lean * t * t, y - tall * t) for t in (0, 0.25, 0.5, 0.75, 1.0)]
        cv.line(pts, col + (230,), 1.0)
    for _ in range(20):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        pts = [(x + t, y - 0.25 * t + 4 * math.sin(t / 18)) for t in range(0, 90, 3)]
        cv.line(pts, (230, 230, 190, 40), 0.8)
    return cv.result()


def tile_first_boot():
    base, soft, faint = (0, 114, 116), (18, 132, 132), (6, 104, 108)

    def px(x, y):
        for cx, cy in ((12, 12), (37, 37)):
            d = abs(wdelta(x, cx, 50)) + abs(wdelta(y, cy, 50))
            if d == 3:
                return soft
            if d == 0:
                return soft
        for cx, cy in ((37, 12), (12, 37)):
            dx, dy = abs(wdelta(x, cx, 50)), abs(wdelta(y, cy, 50))
            if (dx == 0 and dy <= 1) or (dy == 0 and dx <= 1):
                return faint
        return base
    return pixel_image(50, 50, px)


def ridges(noise, sharpness):
    """Bright thin lines where the noise crosses its middle: marble veins."""
    return noise.point(lambda p: round(255 * (1 - abs(p / 127.5 - 1)) ** sharpness))


def tile_green_stone():
    w = h = 160
    body = colorize(fractal_noise(w, h, (3, 3), 5, 220, 0.55),
                    [(0, (16, 50, 34)), (0.45, (34, 92, 62)), (0.8, (64, 128, 86)),
                     (1, (100, 158, 112))])
    cloud = fractal_noise(w, h, (6, 6), 4, 223)
    body = Image.composite(Image.new("RGB", (w, h), (14, 40, 28)), body,
                           cloud.point(lambda p: max(0, p - 150)))
    veins = ridges(fractal_noise(w, h, (2, 2), 5, 221, 0.6), 14)
    fine = ridges(fractal_noise(w, h, (5, 5), 4, 222, 0.55), 24)
    stone = Image.composite(Image.new("RGB", (w, h), (190, 222, 194)), body,
                            veins.point(lambda p: p * 200 // 255))
    return Image.composite(Image.new("RGB", (w, h), (120, 170, 130)), stone,
                           fine.point(lambda p: p * 110 // 255))


ZAPOTEC_FRET = [
    "......######",
    ".####.#....#",
    ".#..#.#.##.#",
    ".#.##.#.#..#",
    ".#....#.####",
    ".######.....",
]


def tile_zapotec():
    n = 48                                  # woven cells, 2 x 2 pixels each
    cream, brown, red = (200, 182, 146), (66, 42, 30), (150, 46, 36)
    indigo, ochre, grey = (48, 58, 104), (180, 130, 56), (100, 90, 78)
    rnd = random.Random(221)

    def cell(c, r):
        if r in (0, 9):
            return brown
        if r in (1, 8):
            return cream
        if 2 <= r <= 7:
            return red if ZAPOTEC_FRET[r - 2][c % 12] == "#" else cream
        a, b = abs(c - 23.5), abs(r - 28.5)
        k = int(a // 2) + int(b // 2)
        if k <= 1:
            return ochre
        if k <= 8:
            return [red, cream, indigo, cream, brown, cream, red, brown][k - 2]
        if k == 9:
            return cream
        # little stepped crosses where the diamonds' corners leave room
        ca, cb = abs(wdelta(c, 0, n)), abs(r - 28.5)
        if (ca < 1 and cb < 3) or (ca < 3 and cb < 1):
            return indigo
        return grey

    cells = [[cell(c, r) for c in range(n)] for r in range(n)]
    jitter = [[rnd.uniform(0.94, 1.04) for _ in range(n)] for _ in range(n)]
    weave = ((1.08, 1.0), (0.95, 0.86))

    def px(x, y):
        c, r = x // 2, y // 2
        f = jitter[r][c] * weave[y % 2][x % 2]
        return tuple(min(255, round(v * f)) for v in cells[r][c])
    return pixel_image(2 * n, 2 * n, px)


def tile_santa_fe():
    w = h = 256
    stucco = fractal_noise(w, h, (6, 6), 5, 222, 0.6)
    adobe = colorize(stucco, [(0, (140, 80, 52)), (0.6, (166, 100, 66)), (1, (192, 128, 88))])
    turq, rust, black, cream = (52, 150, 140), (170, 72, 42), (44, 28, 24), (222, 200, 160)

    def pattern(x, y):
        u, v = x // 4, y // 4        # the pattern is laid in 4 px blocks
        if v < 8:                     # stepped mesas, pointing up and down
            t = abs((u % 8) - 3.5)
            if v < 4:
                return rust if (3 - v) >= t - 0.5 else turq
            return black if (v - 4) >= t - 0.5 else turq
        if v in (8, 55):
            return black
        if v in (9, 54):
            return cream
        if v >= 56:                   # band of small diamonds
            t = abs((u % 4) - 1.5) + abs((v - 56) % 4 - 1.5)
            return rust if t <= 1 else cream
        d = abs(wdelta(u, 32, 64) + 0.5) + abs(v - 31.5)
        if d <= 20:
            k = int(d) // 2
            return [black, cream, turq, cream, rust, rust, black, cream, turq, black, None][k] \
                if k < 10 else black
        d2 = abs(wdelta(u, 0, 64) + 0.5) + abs(v - 31.5)
        if d2 <= 8:
            return [turq, turq, cream, rust, black][int(d2) // 2]
        return None

    shade = stucco.point(lambda p: round(216 + p * 0.16))
    out = adobe.copy()
    pix = out.load()
    sh = shade.load()
    for y in range(h):
        for x in range(w):
            c = pattern(x, y)
            if c is not None:
                f = sh[x, y] / 255
                pix[x, y] = (round(c[0] * f), round(c[1] * f), round(c[2] * f))
    return out


def draw_leaf(cv, x, y, angle, length, width, colour):
    outline = [(t * length, math.sin(math.pi * t) ** 0.8 * width / 2) for t in [i / 12 for i in range(13)]]
    shape = outline + [(px, -py) for px, py in reversed(outline)]
    cv.polygon(transform(shape, x, y, angle), colour)
    cv.polygon(transform([(px, py * 0.45) for px, py in outline] + [(px, 0) for px, py in reversed(outline)],
                         x, y, angle), (14, 40, 22, 90))
    cv.line(transform([(1, 0), (length * 0.92, 0)], x, y, angle), (120, 160, 96, 200), 0.6)


def tile_rhododendron():
    w = h = 128
    bg = colorize(fractal_noise(w, h, (4, 4), 4, 223),
                  [(0, (14, 30, 20)), (0.6, (26, 52, 32)), (1, (44, 72, 44))])
    cv = WrapCanvas(bg, 4)
    rnd = random.Random(2323)
    leaf_greens = [(36, 88, 46, 255), (44, 100, 52, 255), (30, 76, 40, 255)]
    for _ in range(10):
        draw_leaf(cv, rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(0, 2 * math.pi),
                  rnd.uniform(22, 30), rnd.uniform(7, 9), (24, 60, 34, 255))
    trusses = [(34, 38, 1.0), (98, 100, 1.05), (100, 26, 0.7)]
    for tx, ty, s in trusses:
        for k in range(7):
            a = 2 * math.pi * k / 7 + rnd.uniform(-0.2, 0.2)
            draw_leaf(cv, tx + 6 * math.cos(a), ty + 6 * math.sin(a), a, 34 * s, 10 * s,
                      rnd.choice(leaf_greens))
    pinks = [((226, 96, 164), (250, 190, 220)), ((206, 78, 150), (244, 170, 210)),
             ((236, 120, 178), (255, 210, 230))]
    for tx, ty, s in trusses:
        flowers = []
        for k in range(11):
            a = rnd.uniform(0, 2 * math.pi)
            d = 11 * s * math.sqrt(rnd.random())
            flowers.append((tx + d * math.cos(a), ty + d * math.sin(a)))
        flowers.sort(key=lambda p: p[1])
        for fx, fy in flowers:
            body, throat = rnd.choice(pinks)
            r = 5.2 * s
            turn = rnd.uniform(0, 2 * math.pi)
            cv.ellipse(fx + 1, fy + 1.5, r * 1.2, r * 1.2, fill=(20, 10, 20, 70))
            for k in range(5):
                a = turn + 2 * math.pi * k / 5
                cv.ellipse(fx + r * 0.55 * math.cos(a), fy + r * 0.55 * math.sin(a), r * 0.6, r * 0.6,
                           fill=body + (255,))
            cv.ellipse(fx, fy, r * 0.55, r * 0.55, fill=throat + (255,))
            a = turn + rnd.randrange(5) * 2 * math.pi / 5
            for q in range(3):
                cv.ellipse(fx + r * (0.5 + 0.15 * q) * math.cos(a + 0.3 * (q - 1)),
                           fy + r * (0.5 + 0.15 * q) * math.sin(a + 0.3 * (q - 1)),
                           0.45, 0.45, fill=(150, 30, 90, 255))
            for q in range(3):
                sa = turn + rnd.uniform(0, 2 * math.pi)
                ex, ey = fx + r * 0.9 * math.cos(sa), fy + r * 0.9 * math.sin(sa)
                cv.line([(fx, fy), (ex, ey)], (255, 236, 246, 200), 0.35)
                cv.ellipse(ex, ey, 0.5, 0.5, fill=(250, 220, 120, 255))
    return cv.result()


def draw_fish(cv, x, y, size, angle, body, belly):
    outline = ellipse_points(0, 0, 1.0, 0.38, 0, 24)
    tail = [(-0.85, 0), (-1.45, -0.42), (-1.3, 0), (-1.45, 0.42)]
    fin = [(-0.1, -0.3), (0.25, -0.55), (0.35, -0.3)]
    cv.polygon(transform(tail, x, y, angle, size), body + (255,))
    cv.polygon(transform(fin, x, y, angle, size), body + (255,))
    cv.polygon(transform(outline, x, y, angle, size), body + (255,))
    cv.polygon(transform(ellipse_points(0.05, 0.14, 0.8, 0.18, 0, 20), x, y, angle, size), belly + (160,))
    cv.line(transform([(0.55, -0.3), (0.5, 0), (0.55, 0.3)], x, y, angle, size), (20, 30, 40, 120), 0.5)
    ex, ey = transform([(0.68, -0.08)], x, y, angle, size)[0]
    cv.ellipse(ex, ey, size * 0.08, size * 0.08, fill=(250, 250, 250, 255))
    cv.ellipse(ex, ey, size * 0.045, size * 0.045, fill=(10, 10, 20, 255))


def tile_fishing():
    w = h = 128
    water = colorize(fractal_noise(w, h, (3, 3), 4, 206),
                     [(0, (14, 46, 72)), (0.6, (22, 74, 100)), (1, (36, 104, 124))])
    ridge = fractal_noise(w, h, (5, 5), 3, 207).point(
        lambda p: round(255 * (1 - abs(p / 127.5 - 1)) ** 10))
    water = Image.composite(Image.new("RGB", (w, h), (120, 190, 200)), water,
                            ridge.point(lambda p: p * 60 // 255))
    cv = WrapCanvas(water, 4)
    rnd = random.Random(606)
    fish = [(20, 30, 14, 0.2, (150, 168, 186), (220, 226, 230)),
            (84, 20, 11, math.pi - 0.15, (198, 112, 52), (240, 200, 150)),
            (60, 74, 17, -0.1, (112, 134, 120), (200, 210, 196)),
            (110, 100, 12, math.pi + 0.25, (150, 168, 186), (220, 226, 230)),
            (24, 108, 9, 0.35, (180, 140, 60), (230, 210, 150))]
    for x, y, s, a, body, belly in fish:
        draw_fish(cv, x, y, s, a, body, belly)
    # A float on a line, and a spoon lure with its hook
    cv.line([(98, -10), (98, 54)], (230, 236, 240, 110), 0.5)
    cv.ellipse(98, 58, 4, 5.5, fill=(220, 40, 36, 255))
    cv.polygon([(94, 58), (102, 58), (101, 61.5), (98, 63.5), (95, 61.5)], (245, 245, 240, 255))
    cv.line([(98, 63), (98, 68)], (40, 40, 40, 255), 0.7)
    cv.line([(40, 128 + 0), (44, 150)], (230, 236, 240, 110), 0.5)
    cv.line([(28, -40), (40, 0), (44, 22)], (230, 236, 240, 110), 0.5)
    spoon = ellipse_points(0, 0, 3, 6, 0, 20)
    cv.polygon(transform(spoon, 45, 28, 0.2), (230, 180, 60, 255))
    cv.polygon(transform(ellipse_points(-0.8, -1.5, 1.2, 2.6, 0, 12), 45, 28, 0.2), (255, 236, 160, 200))
    cv.arc(46.5, 39, 2.4, 330, 200, (200, 206, 214, 255), 0.6)
    for _ in range(22):
        x, y, r = rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(0.6, 1.8)
        cv.ellipse(x, y, r, r, outline=(200, 230, 240, 150), width=0.4)
    return cv.result()


TILES = [
    (5201, lambda: soap_bubbles(256, 256, 16, 10, 42, 201), 256),
    (5202, tile_coffee_cup, 256),
    (5203, tile_triangles, 16),
    (5204, tile_bamboo, 16),
    (5205, tile_pinstripe, 16),
    (5206, tile_fishing, 256),
    (5207, tile_black_floor, 2),
    (5208, tile_blue_wave, 2),
    (5209, tile_blue_rivets, 16),
    (5210, tile_blue_rings, 2),
    (5211, tile_red_tiles, 16),
    (5212, tile_feathers, 256),
    (5213, tile_egypt, 16),
    (5214, tile_hanami, 256),
    (5215, tile_sumida, 256),
    (5216, tile_blue_lace, 16),
    (5217, tile_houndstooth, 16),
    (5218, tile_prairie, 256),
    (5219, tile_first_boot, 16),
    (5220, tile_green_stone, 256),
    (5221, tile_zapotec, 256),
    (5222, tile_santa_fe, 256),
    (5223, tile_rhododendron, 256),
    (5224, lambda: soap_bubbles(64, 64, 6, 5, 13, 224), 16),
]

TILE_SIZES = {5201: (256, 256), 5202: (128, 128), 5203: (16, 16), 5204: (30, 32),
              5205: (30, 32), 5206: (128, 128), 5207: (31, 30), 5208: (32, 32),
              5209: (16, 16), 5210: (32, 32), 5211: (32, 32), 5212: (128, 128),
              5213: (32, 32), 5214: (320, 240), 5215: (160, 160), 5216: (48, 48),
              5217: (27, 25), 5218: (256, 256), 5219: (50, 50), 5220: (160, 160),
              5221: (96, 96), 5222: (256, 256), 5223: (128, 128), 5224: (64, 64)}


# ---------------------------------------------------------------------------
# Icon: a face-down card with the ace of hearts lying across it.

def icon_card(cw, ch, face):
    s = cw / 100
    card = Image.new("RGBA", (cw, ch), (0, 0, 0, 0))
    d = ImageDraw.Draw(card)
    r = max(2, round(9 * s))
    line = max(1, round(3 * s))
    d.rounded_rectangle((0, 0, cw - 1, ch - 1), r, fill=(255, 255, 255, 255),
                        outline=(50, 50, 60, 255), width=line)
    if face:
        red = INK["red"] + (255,)
        hw, hh = round(cw * 0.54), round(cw * 0.54 * 1.05)
        heart = suit_mask("heart", hw, hh, ss=2)
        card.paste(red, ((cw - hw) // 2 + round(4 * s), (ch - hh) // 2 + round(12 * s)), heart)
        g = max(1, round(cw * 0.24 / 5))
        draw_glyph(card, round(12 * s), round(12 * s), "A", red, g)
    else:
        m = round(10 * s)
        d.rectangle((m, m, cw - 1 - m, ch - 1 - m), fill=(30, 62, 160, 255))
        step = max(4, round(18 * s))
        lw = max(1, round(3 * s))
        panel = Image.new("RGBA", (cw, ch), (0, 0, 0, 0))
        pd = ImageDraw.Draw(panel)
        for k in range(-ch, cw + ch, step):
            pd.line((k, 0, k + ch, ch), fill=(150, 180, 240, 255), width=lw)
            pd.line((k, ch, k + ch, 0), fill=(150, 180, 240, 255), width=lw)
        clip = Image.new("L", (cw, ch), 0)
        ImageDraw.Draw(clip).rectangle((m + lw, m + lw, cw - 1 - m - lw, ch - 1 - m - lw), fill=255)
        card.paste(panel, (0, 0), ImageChops.darker(panel.getchannel("A"), clip))
    return card


def make_icon(size):
    ss = 4
    S = size * ss
    canvas = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    cw, ch = round(S * 0.56), round(S * 0.76)
    for face, angle, cx, cy in ((False, 14, 0.37, 0.47), (True, -10, 0.62, 0.53)):
        card = icon_card(cw, ch, face)
        turned = card.rotate(angle, resample=Image.Resampling.BICUBIC, expand=True)
        shadow = Image.new("RGBA", turned.size, (0, 0, 0, 0))
        shadow.putalpha(turned.getchannel("A").point(lambda v: v * 90 // 255))
        shadow = shadow.filter(ImageFilter.GaussianBlur(S / 60))
        x = round(cx * S - turned.width / 2)
        y = round(cy * S - turned.height / 2)
        off = max(1, round(S / 45))
        canvas.alpha_composite(shadow, (x + off, y + off))
        canvas.alpha_composite(turned, (x, y))
    return canvas.convert("RGBa").reduce(ss).convert("RGBA")


# ---------------------------------------------------------------------------
# Contact sheet

def contact_sheet(groups, width=1060):
    """groups: list of rows-of-(label, image) lists; a None row starts a new
    line within a group."""
    margin, gap, label_h = 12, 10, GLYPH_H + 4
    placements = []
    y = margin
    for group in groups:
        x, row_h = margin, 0
        for item in group:
            if item is None:
                x, y, row_h = margin, y + row_h + gap, 0
                continue
            label, img = item
            if x + img.width > width - margin and x > margin:
                x, y, row_h = margin, y + row_h + gap, 0
            placements.append((x, y, label, img))
            x += max(img.width, text_width(label)) + gap
            row_h = max(row_h, img.height + label_h)
        y += row_h + gap * 2
        placements.append((None, y - gap, None, None))
    sheet = Image.new("RGB", (width, y + margin - gap), (150, 150, 146))
    d = ImageDraw.Draw(sheet)
    for x, yy, label, img in placements:
        if img is None:
            d.line((margin, yy, width - margin, yy), fill=(110, 110, 106))
            continue
        if img.mode == "RGBA":
            sheet.paste(img, (x, yy), img)
        else:
            sheet.paste(img.convert("RGB"), (x, yy))
        draw_text(sheet, x, yy + img.height + 3, label, (24, 24, 28))
    return sheet


# ---------------------------------------------------------------------------
# Checks

def check_outputs():
    expected = ([f"{s}{r:03d}" for s in range(1, 5) for r in range(1, 14)]
                + [str(n) for n in range(5101, 5105)] + [str(n) for n in range(5201, 5225)]
                + ["216", "216-48", "216-64", "216-128", "216-256"])
    names = {os.path.splitext(os.path.basename(p))[0] for p in WRITTEN}
    assert names == set(expected), sorted(names ^ set(expected))
    for path, (size, ncolours) in WRITTEN.items():
        with Image.open(path) as im:
            im.load()
            assert im.size == size, (path, im.size, size)
            if ncolours is None:
                continue
            assert im.mode == "P", (path, im.mode)
            assert "transparency" not in im.info, path
            assert im.convert("RGB").getcolors(ncolours) is not None, (path, ncolours)
        with open(path, "rb") as f:
            depth = f.read(25)[24]
        assert depth == bits_for(ncolours), (path, depth)
    for tid, size in TILE_SIZES.items():
        assert WRITTEN[os.path.join(IMG_DIR, f"{tid}.png")][0] == size, tid


def main():
    start = time.time()
    os.makedirs(IMG_DIR, exist_ok=True)
    sheet_groups = []

    faces = []
    for s in range(1, 5):
        for rank in range(1, 14):
            name = f"{s}{rank:03d}"
            card = make_face(SUIT_OF[s], rank)
            save_indexed(card, name, 16)
            faces.append((name, card))
        faces.append(None)
    sheet_groups.append(faces)

    backs = []
    for n, frame, pattern in ((5101, (24, 44, 120), back_blue_lattice),
                              (5102, (110, 12, 24), back_red_diamonds),
                              (5103, (18, 78, 40), back_green_checks),
                              (5104, (46, 14, 68), back_purple_gold)):
        card = card_back(frame, pattern)
        save_indexed(card, str(n), 16)
        backs.append((str(n), card))
    sheet_groups.append(backs)

    tiles = []
    for tid, make, ncolours in TILES:
        img = make()
        assert img.size == TILE_SIZES[tid], (tid, img.size)
        path = save_indexed(img, str(tid), ncolours)
        tiles.append((str(tid), Image.open(path).convert("RGB")))
    tiles.sort(key=lambda t: -t[1].height)
    sheet_groups.append(tiles)

    icons = []
    for size in (32, 48, 64, 128, 256):
        img = make_icon(size)
        name = "216" if size == 32 else f"216-{size}"
        save_rgba(img, name)
        icons.append((name, img))
    sheet_groups.append(icons)

    check_outputs()
    contact_sheet(sheet_groups).save(SHEET_PATH, optimize=True)
    print(f"wrote {len(WRITTEN)} images and the contact sheet in {time.time() - start:.1f} s")


if __name__ == "__main__":
    main()
