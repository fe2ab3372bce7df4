# SPDX-License-Identifier: MIT
"""Icon 216: a face-down card with the ace of hearts lying across it."""


from PIL import Image, ImageChops, ImageDraw, ImageFilter

from art_common import draw_glyph, suit_mask
from art_faces import INK


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
