# SPDX-License-Identifier: MIT
"""Background tiles of stone, plaster, flowers and water, and the table of
all 24 tiles."""

import math
import random

from PIL import Image

from art_seamless import (WrapCanvas, blank, colorize, ellipse_points, fractal_noise, transform,
    wdelta)
from art_tiles_pixel import (tile_bamboo, tile_black_floor, tile_blue_rings, tile_blue_rivets,
    tile_blue_wave, tile_egypt, tile_first_boot, tile_houndstooth, tile_pinstripe, tile_red_tiles,
    tile_triangles, tile_zapotec)
from art_tiles_painted import (soap_bubbles, tile_blue_lace, tile_coffee_cup, tile_feathers,
    tile_hanami, tile_prairie, tile_sumida)


def ridges(noise, sharpness):
    """Bright thin lines where the noise crosses its middle: marble veins."""
    return noise.point(lambda p: round(255 * (1 - abs(p / 127.5 - 1)) ** sharpness))


def tile_green_stone():
    w = h = 160
    body = colorize(fractal_noise(w, h, (3, 3), 5, 220, 0.55),
                    [(0, (16, 50, 34)), (0.45, (34, 92, 62)), (0.8, (64, 128, 86)),
                     (1, (100, 158, 112))])
    cloud = fractal_noise(w, h, (6, 6), 4, 223)
    body = Image.composite(blank(w, h, (14, 40, 28)), body,
                           cloud.point(lambda p: max(0, p - 150)))
    veins = ridges(fractal_noise(w, h, (2, 2), 5, 221, 0.6), 14)
    fine = ridges(fractal_noise(w, h, (5, 5), 4, 222, 0.55), 24)
    stone = Image.composite(blank(w, h, (190, 222, 194)), body,
                            veins.point(lambda p: p * 200 // 255))
    return Image.composite(blank(w, h, (120, 170, 130)), stone,
                           fine.point(lambda p: p * 110 // 255))


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
    water = Image.composite(blank(w, h, (120, 190, 200)), water,
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
