# SPDX-License-Identifier: MIT
"""Background tiles painted with shapes over noise: bubbles, a cup,
feathers, blossoms, a river, lace, grass."""

import math
import random

from PIL import Image, ImageChops, ImageFilter

from art_common import ScaledDraw, px
from art_seamless import (WrapCanvas, blank, colorize, ellipse_points, fractal_noise, hsv,
    overlay_colour, pixel_image, scattered_points, transform, wdelta, wrap_filter)


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
        for bx, by in pts[1:]:
            if rnd.random() < (0.9 if width < 2 else 0.45):
                spots.append((bx + rnd.uniform(-5, 5), by + rnd.uniform(-5, 5)))
    spots += [(x + rnd.uniform(-6, 6), y + rnd.uniform(-6, 6)) for x, y in tips for _ in range(3)]
    for x, y in spots:
        draw_blossom(cv, x, y, rnd.uniform(3.5, 5.5), rnd.uniform(0, 2 * math.pi),
                     rnd.choice(petals), (214, 84, 122, 255))
    # A string of paper lanterns sagging between posts
    span = 80
    sag = [(x / 2, 18 + 9 * math.sin(math.pi * ((x / 2) % span) / span)) for x in range(0, 2 * w + 1)]
    cv.line(sag, (20, 14, 16, 255), 0.8)
    glow = blank(w, h, 0, "L")
    gd = ScaledDraw(glow)
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
    glow = wrap_filter(glow, ImageFilter.GaussianBlur(px(9)))
    warm = blank(w, h, (255, 150, 80))
    return Image.blend(img, Image.composite(warm, img, glow), 0.35)


def tile_sumida():
    w = h = 160
    # slow swells running across the river, gently bowed
    band = pixel_image(w, h, lambda x, y: round(127.5 + 127.5 * math.sin(
        2 * math.pi * (y / 40 + 0.12 * math.sin(2 * math.pi * x / w)))), "L", smooth=True)
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
    thread = WrapCanvas(blank(w, h, (0, 0, 0)), ss)
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
    shadow = ImageChops.offset(mask, px(1), px(1))     # offset wraps, so no seam
    out = overlay_colour(blank(w, h, (20, 34, 86)), (8, 14, 44), shadow)
    return overlay_colour(out, (168, 200, 248), mask)


def tile_prairie():
    w = h = 256
    bg = colorize(fractal_noise(w, h, (3, 3), 5, 218),
                  [(0, (34, 52, 26)), (0.5, (62, 86, 38)), (0.8, (100, 112, 52)), (1, (138, 132, 70))])
    wind = lambda x, y: math.sin(2 * math.pi * (x / w + 2 * y / h) + 1.5 * math.sin(2 * math.pi * y / h))
    streaks = pixel_image(w, h, lambda x, y: max(0, round(90 * wind(x, y) ** 3)), "L", smooth=True)
    bg = Image.composite(blank(w, h, (170, 170, 110)), bg, streaks)
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
