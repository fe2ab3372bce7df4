# SPDX-License-Identifier: MIT
"""The four card backs."""


from art_common import CARD_H, CARD_W, ScaledDraw, px, scale
from art_faces import blank_card


def card_back(frame, pattern):
    """White-margined card with a framed panel; pattern(du, dv) gets offsets
    from the panel centre (half-integers at scale 1), so even functions keep
    the back the same when the card is turned round. Patterns cut their bands
    halfway between picture pixels, so a finer grid draws the same bands."""
    card = blank_card()
    d = ScaledDraw(card)
    x0, y0, x1, y1 = 3, 3, CARD_W - 4, CARD_H - 4
    d.rectangle((x0, y0, x1, y1), outline=frame)
    cx, cy = (x0 + 1 + x1 - 1) / 2, (y0 + 1 + y1 - 1) / 2
    k = scale()
    # Each device pixel samples the pattern at its own centre, in picture pixels.
    for y in range(px(y0 + 1), px(y1)):
        for x in range(px(x0 + 1), px(x1)):
            card.putpixel((x, y), pattern((x + 0.5) / k - 0.5 - cx, (y + 0.5) / k - 0.5 - cy))
    return card


def fold(v, period):
    """Distance from the middle of the repeat, symmetric in v."""
    return abs((v % period) - period / 2)


def back_blue_lattice(du, dv):
    # Diagonal lines with a softer pixel either side, so they read as lines
    # rather than a checkerboard.
    a, b = fold(du + dv, 8), fold(du - dv, 8)
    if a < 0.5 and b < 0.5:
        return (232, 240, 255)
    if a < 0.5 or b < 0.5:
        return (150, 182, 242)
    if a < 1.5 or b < 1.5:
        return (72, 104, 196)
    return (30, 62, 160)


def back_red_diamonds(du, dv):
    d = fold(du, 8) + fold(dv, 8)
    if d < 1.5:
        return (255, 214, 214)
    if d < 3.5:
        return (228, 92, 100)
    if d < 4.5:
        return (110, 12, 24)
    return (176, 28, 40)


def back_green_checks(du, dv):
    a, b = fold(du, 10) < 2, fold(dv, 10) < 2
    if fold(du, 10) > 4 or fold(dv, 10) > 4:
        return (222, 240, 222)
    if a and b:
        return (18, 78, 40)
    if a or b:
        return (46, 124, 66)
    return (96, 168, 108)


def back_purple_gold(du, dv):
    if abs(du) + abs(dv) < 9.5:          # central medallion
        d = abs(du) + abs(dv)
        if d < 3.5:
            return (248, 204, 72)
        if d < 6.5:
            return (70, 24, 100)
        return (248, 204, 72) if d < 8.5 else (40, 10, 60)
    a, b = fold(du, 10), fold(dv, 10)
    d = a + b
    if max(a, b) > 4:
        return (46, 14, 68)
    if abs(d - 4) < 0.5:
        return (236, 188, 60)
    if d < 1.5:
        return (236, 188, 60)
    if d < 3.5:
        return (150, 96, 190)
    return (92, 36, 128)
