# SPDX-License-Identifier: MIT
"""Background tiles drawn pixel by pixel from a pattern."""

import math
import random

from art_seamless import mix, pixel_image, wdelta


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
    return pixel_image(w, h, px, smooth=True)


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
    return pixel_image(w, h, px, smooth=True)


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
    return pixel_image(w, h, px, smooth=True)


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
