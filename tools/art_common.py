# SPDX-License-Identifier: MIT
"""Shared by the artwork modules: where files go, palette saving, the pixel
font and the suit shapes."""

import os

from PIL import Image


ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
IMG_DIR = os.path.join(ROOT, "res", "img")
SHEET_PATH = os.path.join(ROOT, "res", "contact-sheet.png")

CARD_W, CARD_H = 50, 68

# Every file written, for the checks at the end: path -> (size, colour limit).
WRITTEN = {}

# Device pixels per picture pixel: 1 for the art the program names, 2 for the copies
# drawn for screens that show everything twice as large. Coordinates in the drawing
# code stay in picture pixels.
_scale = [1]


def set_scale(k):
    _scale[0] = k


def scale():
    return _scale[0]


def px(v):
    """First device pixel of picture pixel v (or a length in device pixels)."""
    return v * _scale[0]


def px_end(v):
    """Last device pixel of picture pixel v: the inclusive end of a box."""
    return v * _scale[0] + _scale[0] - 1


def px_mid(v):
    """Centre of picture pixel v on the device grid, for lines and polygons."""
    return v * _scale[0] + (_scale[0] - 1) / 2


class ScaledDraw:
    """ImageDraw in picture pixels: boxes cover whole device pixels, lines and
    outlines grow with the scale. At scale 1 it passes everything on as is."""

    def __init__(self, img):
        from PIL import ImageDraw
        self.d = ImageDraw.Draw(img)

    @staticmethod
    def _box(b):
        return (px(b[0]), px(b[1]), px_end(b[2]), px_end(b[3]))

    @staticmethod
    def _pts(pts):
        return [(px_mid(x), px_mid(y)) for x, y in pts]

    def rectangle(self, box, fill=None, outline=None):
        self.d.rectangle(self._box(box), fill=fill, outline=outline, width=px(1))

    def ellipse(self, box, fill=None, outline=None):
        self.d.ellipse(self._box(box), fill=fill, outline=outline, width=px(1))

    def chord(self, box, start, end, fill=None, outline=None):
        self.d.chord(self._box(box), start, end, fill=fill, outline=outline, width=px(1))

    def line(self, xy, fill=None, width=1):
        pts = self._pts(list(zip(xy[0::2], xy[1::2])))
        self.d.line([c for p in pts for c in p], fill=fill, width=px(width))

    def polygon(self, pts, fill=None, outline=None):
        if scale() == 1:
            self.d.polygon(pts, fill=fill, outline=outline)
        else:
            self.d.polygon(self._pts(pts), fill=fill, outline=outline, width=px(1))

    def point(self, pts, fill=None):
        if scale() == 1:
            self.d.point(pts, fill=fill)
            return
        for x, y in ([pts] if isinstance(pts[0], (int, float)) else pts):
            self.d.rectangle((px(x), px(y), px_end(x), px_end(y)), fill=fill)


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


def save_indexed(img, name, ncolours, stored=False):
    """At scale 1, the picture in its palette; larger copies keep every colour
    they were drawn with, as name@2x.png.  A stored picture is not compressed:
    the game decodes it at every start, and then decoding is a copy."""
    if scale() != 1:
        return save_rgba(img, name)
    path = os.path.join(IMG_DIR, f"{name}.png")
    packing = {"compress_level": 0} if stored else {"optimize": True}
    to_indexed(img, ncolours).save(path, bits=bits_for(ncolours), **packing)
    WRITTEN[path] = (img.size, ncolours)
    return path


def save_rgba(img, name):
    suffix = "" if scale() == 1 else f"@{scale()}x"
    path = os.path.join(IMG_DIR, f"{name}{suffix}.png")
    img.save(path, optimize=True)
    WRITTEN[path] = (img.size, None)
    return path


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
