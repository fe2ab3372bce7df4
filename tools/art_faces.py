# SPDX-License-Identifier: MIT
"""The 52 card faces."""


from PIL import Image

from art_common import CARD_H, CARD_W, ScaledDraw, draw_glyph, px, scale, stamp, suit_mask


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
    if scale() != 1:   # a smooth rounding where there are pixels enough for one
        img = Image.new("RGB", (px(CARD_W), px(CARD_H)), OUTSIDE)
        d = ScaledDraw(img).d
        d.rounded_rectangle((0, 0, px(CARD_W) - 1, px(CARD_H) - 1), px(2) + 1, fill=fill,
                            outline=EDGE, width=px(1))
        return img
    img = Image.new("RGB", (CARD_W, CARD_H), fill)
    d = ScaledDraw(img)
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
    draw_glyph(layer, px(x), px(4), label, colour, px(1))
    stamp(layer, suit_mask(suit, px(7), px(7)), px(2), px(13), colour)
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
    mask = suit_mask(suit, px(PIP), px(PIP))
    for col, t in PIP_LAYOUT[rank]:
        y = pip_row(t)
        if t > 0.5:   # lower half is drawn upside down, as on printed cards
            y = CARD_H - PIP - pip_row(1 - t)
        stamp(card, mask, px(PIP_COLS[col]), px(y), colour, flip=t > 0.5)


def draw_ace(card, suit):
    w, h = (25, 27) if suit == "spade" else (21, 23)
    x, y = (CARD_W - w) // 2, (CARD_H - h) // 2
    stamp(card, suit_mask(suit, px(w), px(h)), px(x), px(y), suit_ink(suit))
    if suit == "spade":   # the ace of spades traditionally gets a little extra
        d = ScaledDraw(card)
        d.ellipse((x - 4, y - 3, x + w + 3, y + h + 2), outline=DARK_GOLD)


def draw_headgear(d, rank, x0, y0):
    """Crown, tiara or cap inside a 16 x 7 box at (x0, y0)."""
    X = lambda v: x0 + v
    Y = lambda v: y0 + v
    if rank == 13:
        d.polygon([(X(0), Y(6)), (X(0), Y(0)), (X(3), Y(3)), (X(7), Y(0)), (X(8), Y(0)),
                   (X(12), Y(3)), (X(15), Y(0)), (X(15), Y(6))], fill=GOLD, outline=DARK_GOLD)
        d.line((X(1), Y(5), X(14), Y(5)), fill=DARK_GOLD)
        for x in (0, 7, 8, 15):
            d.point((X(x), Y(0)), fill=INK["red"])
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
    d = ScaledDraw(card)
    ink = suit_ink(suit)
    d.rectangle((9, 7, 40, 60), outline=NAVY)
    d.rectangle((10, 8, 39, 59), outline=GOLD, fill=CREAM)
    # Everything is drawn in the top half, then repeated turned round.
    half = Image.new("RGBA", card.size, (0, 0, 0, 0))
    hd = ScaledDraw(half)
    draw_headgear(hd, rank, 17, 10)
    letter = {11: "J", 12: "Q", 13: "K"}[rank]
    draw_glyph(half, px(20), px(18), letter, ink + (255,), scale=px(2))
    pip = suit_mask(suit, px(7), px(7))
    stamp(half, pip, px(12), px(22), ink + (255,))
    stamp(half, pip, px(31), px(22), ink + (255,))
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
