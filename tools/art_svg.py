# SPDX-License-Identifier: MIT
"""Scalable icons for desktops: the full-colour application icon (the same
two cards as the PNG sizes) and a one-colour symbolic one.  Called by
gen_art.py; the text written is the same on every run."""

import os
import xml.etree.ElementTree as ET

APP_ID = "io.github.pelmanix.Pelmanix"
RED = "#ce1224"
OUTLINE = "#32323c"
BACK_FILL = "#1e3ea0"
BACK_LINE = "#96b4f0"
# GTK repaints a symbolic icon in the theme's text colour; this is only the default.
SYMBOLIC_INK = "#2e3436"
LICENCE = "<!-- SPDX-License-Identifier: MIT -->\n"


def num(v):
    text = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def heart_path(x, y, w, h):
    """A heart in the box (x, y, w, h), point down."""
    def p(u, v):
        return f"{num(x + u * w)},{num(y + v * h)}"
    return (f"M{p(.5, .3)}C{p(.5, .08)} {p(.12, -.02)} {p(.04, .28)}"
            f"C{p(-.02, .55)} {p(.3, .76)} {p(.5, 1)}"
            f"C{p(.7, .76)} {p(1.02, .55)} {p(.96, .28)}"
            f"C{p(.88, -.02)} {p(.5, .08)} {p(.5, .3)}Z")


def letter_a_path(x, y, w, h):
    """A capital A with its counter cut out (even-odd fill)."""
    def p(u, v):
        return f"{num(x + u * w)},{num(y + v * h)}"
    outer = [(0, 1), (.36, 0), (.64, 0), (1, 1), (.76, 1), (.67, .74), (.33, .74), (.24, 1)]
    inner = [(.39, .55), (.61, .55), (.5, .22)]
    return ("M" + " L".join(p(*q) for q in outer) + "Z"
            + "M" + " L".join(p(*q) for q in inner) + "Z")


def colour_icon(size=128):
    """The application icon: a face-down card with the ace of hearts across it."""
    cw, ch = size * 0.56, size * 0.76
    r, line = cw * 0.09, cw * 0.03
    m = cw * 0.10
    step, lw = cw * 0.18, cw * 0.03
    lattice = []
    k = -ch
    while k < cw + ch:
        lattice.append(f"M{num(k)},0L{num(k + ch)},{num(ch)}M{num(k)},{num(ch)}L{num(k + ch)},0")
        k += step
    card_shape = (f'<rect x="{num(line / 2)}" y="{num(line / 2)}" width="{num(cw - line)}" '
                  f'height="{num(ch - line)}" rx="{num(r)}"')
    back = (f'{card_shape} fill="#fff" stroke="{OUTLINE}" stroke-width="{num(line)}"/>'
            f'<rect x="{num(m)}" y="{num(m)}" width="{num(cw - 2 * m)}" height="{num(ch - 2 * m)}" '
            f'fill="{BACK_FILL}"/>'
            f'<path clip-path="url(#inner)" d="{"".join(lattice)}" stroke="{BACK_LINE}" '
            f'stroke-width="{num(lw)}" fill="none"/>')
    hw = cw * 0.54
    face = (f'{card_shape} fill="#fff" stroke="{OUTLINE}" stroke-width="{num(line)}"/>'
            f'<path d="{heart_path((cw - hw) / 2 + cw * .04, (ch - hw * 1.05) / 2 + cw * .12, hw, hw * 1.05)}" '
            f'fill="{RED}"/>'
            f'<path d="{letter_a_path(cw * .12, cw * .12, cw * .24, cw * .336)}" fill="{RED}" '
            f'fill-rule="evenodd"/>')
    inset = m + lw
    parts = [LICENCE + f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
             f'viewBox="0 0 {size} {size}">',
             "<defs>",
             f'<clipPath id="inner"><rect x="{num(inset)}" y="{num(inset)}" '
             f'width="{num(cw - 2 * inset)}" height="{num(ch - 2 * inset)}"/></clipPath>',
             f'<filter id="shadow" x="-20%" y="-20%" width="140%" height="140%">'
             f'<feGaussianBlur stdDeviation="{num(size / 60)}"/></filter>',
             f'<g id="back">{back}</g>',
             f'<g id="face">{face}</g>',
             "</defs>"]
    off = max(1.0, size / 45)
    # Turned about each card's centre, as the PNG sizes are.
    for ref, angle, cx, cy in (("back", -14, .37, .47), ("face", 10, .62, .53)):
        place = (f"translate({num(cx * size - cw / 2)},{num(cy * size - ch / 2)}) "
                 f"rotate({angle},{num(cw / 2)},{num(ch / 2)})")
        parts.append(f'<g transform="translate({num(off)},{num(off)}) {place}" opacity=".35" '
                     f'filter="url(#shadow)"><rect width="{num(cw)}" height="{num(ch)}" '
                     f'rx="{num(r)}"/></g>')
        parts.append(f'<use href="#{ref}" transform="{place}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def symbolic_icon():
    """16 x 16, one colour: a card outline behind a solid card with a heart cut out."""
    def rounded(x, y, w, h, r):
        return (f"M{num(x + r)},{num(y)}H{num(x + w - r)}A{num(r)},{num(r)} 0 0 1 {num(x + w)},{num(y + r)}"
                f"V{num(y + h - r)}A{num(r)},{num(r)} 0 0 1 {num(x + w - r)},{num(y + h)}"
                f"H{num(x + r)}A{num(r)},{num(r)} 0 0 1 {num(x)},{num(y + h - r)}"
                f"V{num(y + r)}A{num(r)},{num(r)} 0 0 1 {num(x + r)},{num(y)}Z")
    back_outline = rounded(1, 1, 8, 11, 1.5) + rounded(2.5, 2.5, 5, 8, .5)
    front = rounded(6, 4, 9, 11, 1.5) + heart_path(7.75, 6.6, 5.5, 5.8)
    return (LICENCE + f'<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">\n'
            f'<defs><mask id="gap"><rect width="16" height="16" fill="#fff"/>'
            f'<path d="{rounded(4.75, 2.75, 11.5, 13.5, 2.5)}"/></mask></defs>\n'
            f'<g fill="{SYMBOLIC_INK}" fill-rule="evenodd">\n'
            f'<path d="{back_outline}" mask="url(#gap)"/>\n'
            f'<path d="{front}"/>\n'
            f"</g>\n</svg>\n")


def write_icons(root):
    """Writes both icons under res/desktop and returns their paths."""
    out_dir = os.path.join(root, "res", "desktop")
    os.makedirs(out_dir, exist_ok=True)
    paths = []
    for name, text in ((f"{APP_ID}.svg", colour_icon()),
                       (f"{APP_ID}-symbolic.svg", symbolic_icon())):
        ET.fromstring(text)  # well-formed before it is written
        path = os.path.join(out_dir, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        paths.append(path)
    return paths


if __name__ == "__main__":
    for written in write_icons(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))):
        print("wrote", written)
