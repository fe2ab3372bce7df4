#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws all of Pelmanix's artwork: card faces and backs, board tiles, the
application icon and a contact sheet of everything.

    /usr/bin/python3 tools/gen_art.py

Nothing is loaded from outside: letters come from the pixel font in
art_common, suit symbols and pictures are computed from shapes and seeded
noise, so every run writes identical files. One module per kind of picture:
art_faces, art_backs, art_tiles (with art_tiles_pixel, art_tiles_painted and
the seamless helpers of art_seamless), art_icon and the scalable icons of art_svg.
"""

import os
import time

from PIL import Image, ImageDraw

from art_common import (GLYPH_H, IMG_DIR, ROOT, SHEET_PATH, WRITTEN, bits_for, draw_text,
    save_indexed, save_rgba, set_scale, text_width)
from art_faces import SUIT_OF, make_face
from art_backs import (back_blue_lattice, back_green_checks, back_purple_gold, back_red_diamonds,
    card_back)
from art_tiles import TILES, TILE_SIZES
from art_icon import make_icon
from art_svg import write_icons as write_svg_icons


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

BACKS = ((5101, (24, 44, 120), back_blue_lattice),
         (5102, (110, 12, 24), back_red_diamonds),
         (5103, (18, 78, 40), back_green_checks),
         (5104, (46, 14, 68), back_purple_gold))


def check_outputs():
    bitmaps = ([f"{s}{r:03d}" for s in range(1, 5) for r in range(1, 14)]
               + [str(n) for n in range(5101, 5105)] + [str(n) for n in range(5201, 5225)])
    expected = (bitmaps + ["216", "216-48", "216-64", "216-128", "216-256"]
                + [f"{name}@2x" for name in bitmaps + ["216"]])
    names = {os.path.splitext(os.path.basename(p))[0] for p in WRITTEN}
    assert names == set(expected), sorted(names ^ set(expected))
    for name in bitmaps + ["216"]:   # every double-size copy is twice as wide and high
        w, h = WRITTEN[os.path.join(IMG_DIR, f"{name}.png")][0]
        assert WRITTEN[os.path.join(IMG_DIR, f"{name}@2x.png")][0] == (2 * w, 2 * h), name
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


def draw_double_size():
    """Every bitmap the board shows, and the window icon, drawn again on a grid
    twice as fine for screens scaled by 2: name@2x.png beside name.png."""
    set_scale(2)
    for s in range(1, 5):
        for rank in range(1, 14):
            save_indexed(make_face(SUIT_OF[s], rank), f"{s}{rank:03d}", 16)
    for n, frame, pattern in BACKS:
        save_indexed(card_back(frame, pattern), str(n), 16)
    for tid, make, ncolours in TILES:
        save_indexed(make(), str(tid), ncolours)
    set_scale(1)
    save_rgba(make_icon(64), "216@2x")


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
    for n, frame, pattern in BACKS:
        card = card_back(frame, pattern)
        save_indexed(card, str(n), 16)
        backs.append((str(n), card))
    sheet_groups.append(backs)

    tiles = []
    for tid, make, ncolours in TILES:
        img = make()
        assert img.size == TILE_SIZES[tid], (tid, img.size)
        path = save_indexed(img, str(tid), ncolours, stored=True)
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

    draw_double_size()
    check_outputs()
    write_svg_icons(ROOT)
    contact_sheet(sheet_groups).save(SHEET_PATH, optimize=True)
    print(f"wrote {len(WRITTEN)} images and the contact sheet in {time.time() - start:.1f} s")


if __name__ == "__main__":
    main()