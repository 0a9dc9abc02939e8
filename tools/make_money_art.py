#!/usr/bin/env python3
"""Writes the 47 money pictures of the "knowing the money" exercise as SVG files.

Picture k (1..47) becomes moneyKK.svg (two digits). Every picture is one note or coin of
our own friendly design; the value and unit of each picture are fixed by the exercise and
checked below before anything is written. Run it again after changing a design and check
the files in:

    tools/make_money_art.py [output folder]   (default: assets/scene/money)

The files are meant for Qt's SVG renderer (SVG Tiny 1.2): only basic shapes, paths,
linear/radial gradients and plain text are used - no filters, masks, clip paths, style
sheets, images or references to other files. Output is byte-for-byte reproducible.
"""

import pathlib
import sys
import xml.etree.ElementTree as ET

FEN, JIAO, YUAN = "分", "角", "元"
UNIT_TEXT = {1: FEN, 10: JIAO, 100: YUAN}

# Which pictures show which value, grouped by value.
GROUPS = [
    ((1, 2, 36), 1, FEN),
    ((3, 4, 37), 2, FEN),
    ((5, 38), 5, FEN),
    ((6, 7, 39, 42, 45), 1, JIAO),
    ((8, 9), 2, JIAO),
    ((10, 11, 40, 43, 46), 5, JIAO),
    ((12, 13, 18, 19, 41, 44, 47), 1, YUAN),
    ((14, 15), 2, YUAN),
    ((16, 17, 20, 21), 5, YUAN),
    ((22, 23, 24, 25), 10, YUAN),
    ((30, 31), 20, YUAN),
    ((26, 27, 32, 33), 50, YUAN),
    ((28, 29, 34, 35), 100, YUAN),
]

# The same facts as the program keeps them: two parallel lists indexed by k - 1.
VALUES = [1, 1, 2, 2, 5, 1, 1, 2, 2, 5, 5, 1, 1, 2, 2, 5, 5, 1, 1, 5, 5, 10, 10, 10, 10,
          50, 50, 100, 100, 20, 20, 50, 50, 100, 100, 1, 2, 5, 1, 5, 1, 1, 5, 1, 1, 5, 1]
UNIT_CODES = [1] * 5 + [10] * 6 + [100] * 24 + [1, 1, 1, 10, 10, 100, 10, 10, 100, 10, 10, 100]

COUNT = 47
INK = "#263238"  # dark text and lines; never pure black
WHITE = "#FFFFFF"
FONT = "Noto Sans CJK SC"
DIGIT_ADVANCE = 0.59  # advance of one bold digit of FONT, in em
MIN_CONTRAST = 4.5


def value_table():
    """k -> (value, unit text), from the grouped table, checked against the parallel lists."""
    table = {}
    for pictures, value, unit in GROUPS:
        for k in pictures:
            assert k not in table, f"picture {k} listed twice"
            table[k] = (value, unit)
    assert sorted(table) == list(range(1, COUNT + 1)), "every picture 1..47 exactly once"
    assert len(VALUES) == COUNT and len(UNIT_CODES) == COUNT
    for k in range(1, COUNT + 1):
        assert table[k] == (VALUES[k - 1], UNIT_TEXT[UNIT_CODES[k - 1]]), f"picture {k}"
    # A few spot checks written out by hand.
    assert table[1] == (1, FEN) and table[30] == (20, YUAN) and table[38] == (5, FEN)
    assert table[45] == (1, JIAO) and table[46] == (5, JIAO) and table[47] == (1, YUAN)
    assert table[28] == (100, YUAN) and table[35] == (100, YUAN) and table[22] == (10, YUAN)
    return table


# ---------------------------------------------------------------- colours

def rgb(c):
    return tuple(int(c[i:i + 2], 16) for i in (1, 3, 5))


def hexc(t):
    return "#%02X%02X%02X" % tuple(max(0, min(255, round(v))) for v in t)


def mix(a, b, t):
    """Colour a moved the fraction t towards colour b."""
    return hexc(tuple(x + (y - x) * t for x, y in zip(rgb(a), rgb(b))))


def luminance(c):
    def lin(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(v) for v in rgb(c))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


class Tone:
    """The colours of one note series: body colour and a deeper shade for lines."""

    def __init__(self, body, deep):
        self.body = body
        self.deep = deep
        self.light = mix(body, WHITE, 0.45)   # body gradient's far end
        self.paper = mix(body, WHITE, 0.82)   # value panel and medallion
        self.pattern = mix(body, WHITE, 0.35)  # soft patterns on the body


NOTE_TONES = {
    "1fen": Tone("#FFD96B", "#C99400"),      # warm yellow
    "2fen": Tone("#7FD0F5", "#1B8CC4"),      # sky blue
    "5fen": Tone("#EBCB98", "#A97C3A"),      # sand
    "1jiao": Tone("#FFC078", "#D9822B"),     # apricot
    "1jiao_b": Tone("#FFAB91", "#D9674A"),   # peach
    "2jiao": Tone("#80CBC4", "#2A8C82"),     # teal
    "5jiao": Tone("#D6A2E0", "#9A4AAE"),     # lilac
    "5jiao_b": Tone("#F3A6C8", "#C2517F"),   # rose
    "1yuan": Tone("#A5D98A", "#4E9A3A"),     # leaf green
    "1yuan_b": Tone("#DCE37A", "#98A02A"),   # lime
    "2yuan": Tone("#F6A0BE", "#CC4F7C"),     # pink
    "5yuan": Tone("#B9A3E3", "#6A4FB0"),     # violet
    "5yuan_b": Tone("#A3B0E6", "#4A5DB5"),   # periwinkle
    "10yuan": Tone("#8EC8F6", "#2F7CC8"),    # blue
    "10yuan_b": Tone("#7DD9E8", "#1C97AA"),  # cyan
    "20yuan": Tone("#D2B39C", "#8A6248"),    # cocoa
    "50yuan": Tone("#8BCF8E", "#3D8F45"),    # green
    "50yuan_b": Tone("#B5DE9A", "#5C9C3A"),  # meadow
    "100yuan": Tone("#F29A9A", "#C94848"),   # red
    "100yuan_b": Tone("#FFAE8A", "#D9663C"),  # coral
}


class Metal:
    """Coin colours: a bright face, the metal colour and the edge."""

    def __init__(self, face, metal, edge):
        self.face = face
        self.metal = metal
        self.edge = edge


METALS = {
    "aluminium": Metal("#FBFCFD", "#CDD6DB", "#8A9BA5"),
    "steel": Metal("#F3F7FA", "#B9CAD6", "#6F8797"),
    "brass": Metal("#FFF4C8", "#F4CD5A", "#B98A12"),
    "nickel": Metal("#FFFFFF", "#D3DADF", "#7C8D98"),
}


# ---------------------------------------------------------------- SVG building

def num(v):
    """Short decimal text for a coordinate."""
    s = f"{v:.1f}".rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


class Svg:
    def __init__(self, title):
        self.title = title
        self.defs = []
        self.body = []
        self.texts = []  # (text, colour, background colours) for the contrast check
        self.ids = 0

    def gradient_linear(self, stops, x1=0, y1=0, x2=1, y2=1):
        self.ids += 1
        gid = f"g{self.ids}"
        s = "".join(f'<stop offset="{num(o)}" stop-color="{c}"/>' for o, c in stops)
        self.defs.append(f'<linearGradient id="{gid}" x1="{num(x1)}" y1="{num(y1)}" '
                         f'x2="{num(x2)}" y2="{num(y2)}">{s}</linearGradient>')
        return f"url(#{gid})"

    def gradient_radial(self, stops, cx=0.5, cy=0.5, r=0.5):
        self.ids += 1
        gid = f"g{self.ids}"
        s = "".join(f'<stop offset="{num(o)}" stop-color="{c}"/>' for o, c in stops)
        self.defs.append(f'<radialGradient id="{gid}" cx="{num(cx)}" cy="{num(cy)}" '
                         f'r="{num(r)}">{s}</radialGradient>')
        return f"url(#{gid})"

    def add(self, s):
        self.body.append(s)

    def text(self, s, x, y, size, colour, backgrounds, bold=False, anchor="middle", ident=None):
        self.texts.append((s, colour, tuple(backgrounds)))
        attrs = f' id="{ident}"' if ident else ""
        weight = ' font-weight="bold"' if bold else ""
        self.add(f'<text{attrs} x="{num(x)}" y="{num(y)}" font-family="{FONT}" '
                 f'font-size="{num(size)}"{weight} text-anchor="{anchor}" '
                 f'fill="{colour}">{s}</text>')

    def render(self):
        out = ['<?xml version="1.0" encoding="UTF-8"?>',
               '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
               'width="360" height="200" viewBox="0 0 360 200">',
               f"<title>{self.title}</title>"]
        if self.defs:
            out.append("<defs>")
            out.extend(self.defs)
            out.append("</defs>")
        out.extend(self.body)
        out.append("</svg>")
        return "\n".join(out) + "\n"


def circle(cx, cy, r, fill, stroke=None, width=0, extra=""):
    st = f' stroke="{stroke}" stroke-width="{num(width)}"' if stroke else ""
    return f'<circle cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}" fill="{fill}"{st}{extra}/>'


def path(d, fill, stroke=None, width=0, extra=""):
    st = (f' stroke="{stroke}" stroke-width="{num(width)}" stroke-linejoin="round"'
          f' stroke-linecap="round"') if stroke else ""
    return f'<path d="{d}" fill="{fill}"{st}{extra}/>'


def ellipse(cx, cy, rx, ry, fill, stroke=None, width=0, rotate=0):
    st = f' stroke="{stroke}" stroke-width="{num(width)}"' if stroke else ""
    tr = f' transform="rotate({num(rotate)} {num(cx)} {num(cy)})"' if rotate else ""
    return (f'<ellipse cx="{num(cx)}" cy="{num(cy)}" rx="{num(rx)}" ry="{num(ry)}" '
            f'fill="{fill}"{st}{tr}/>')


def star_points(cx, cy, outer, inner, points=5, turn=-90):
    import math
    pts = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180 / points)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return "M" + " L".join(f"{num(x)},{num(y)}" for x, y in pts) + " Z"


# ---------------------------------------------------------------- emblems
# Each emblem is drawn around (0, 0) within a radius of about 42 and placed by a transform.

def face(x, y, spread, size):
    """Two eyes and a smile: the friendly face on the sun and the star."""
    return (circle(x - spread, y - 3, size, INK) + circle(x + spread, y - 3, size, INK) +
            path(f"M{num(x - spread)},{num(y + 5)} Q{num(x)},{num(y + 5 + spread)} "
                 f"{num(x + spread)},{num(y + 5)}", "none", INK, 2.6))


def emblem_flower():
    out = []
    for i in range(5):
        out.append(f'<g transform="rotate({i * 72})">'
                   + ellipse(0, -19, 12, 18, "#F48FB1", "#D0628C", 2.5) + "</g>")
    out.append(circle(0, 0, 12, "#FFD54A", "#F2A900", 2.5))
    return "".join(out)


def emblem_mountain():
    return "".join([
        circle(22, -22, 11, "#FFD54A", "#F2A900", 2.5),
        path("M-42,30 L-10,-26 L22,30 Z", "#7BC96F", "#4FA35A", 3),
        path("M-4,30 L20,-6 L42,30 Z", "#A5D98A", "#4FA35A", 3),
        path("M-21,-7 L-10,-26 L1,-7 L-5,-11 L-10,-5 L-15,-11 Z", WHITE, "#4FA35A", 2.5),
        path("M-44,32 L44,32", "none", "#4FA35A", 3),
    ])


def emblem_bird():
    return "".join([
        path("M-20,2 L-40,-8 L-36,12 Z", "#4FC3F7", "#0288D1", 2.5),
        ellipse(-2, 4, 25, 21, "#4FC3F7", "#0288D1", 3),
        path("M-14,2 Q-2,-6 10,4 Q0,18 -14,2 Z", "#B3E5FC", "#0288D1", 2.5),
        path("M21,-4 L36,0 L21,6 Z", "#FFB74D", "#E08E1B", 2.5),
        circle(12, -4, 4, INK),
        circle(13.5, -5.5, 1.4, WHITE),
        path("M-8,25 L-10,34 M4,25 L6,34", "none", "#E08E1B", 3),
    ])


def emblem_fish():
    return "".join([
        circle(30, -24, 5, "#E1F5FE", "#4FC3F7", 2.5),
        circle(37, -36, 3.5, "#E1F5FE", "#4FC3F7", 2.2),
        path("M-22,0 L-42,-16 L-38,0 L-42,16 Z", "#FFB74D", "#E0664A", 2.5),
        ellipse(-2, 0, 28, 18, "#FF8A65", "#E0664A", 3),
        path("M-6,-16 Q2,-28 12,-14", "#FFB74D", "#E0664A", 2.5),
        path("M2,-14 Q-6,0 2,14", "none", "#E0664A", 2.5),
        circle(14, -4, 4, INK),
        circle(15.5, -5.5, 1.4, WHITE),
    ])


def emblem_sun():
    out = []
    for i in range(8):
        out.append(path("M-6,-24 L0,-40 L6,-24 Z", "#FFD54A", "#F2A900", 2.5)
                   .replace("/>", f' transform="rotate({i * 45})"/>'))
    out.append(circle(0, 0, 24, "#FFD54A", "#F2A900", 3))
    out.append(face(0, 0, 8, 3))
    return "".join(out)


def emblem_tree():
    crown = [(0, -14, 22), (-17, 0, 16), (17, 0, 16)]
    out = [path("M-6,8 L-7,36 L7,36 L6,8 Z", "#A1887F", "#6D4C41", 2.5)]
    out += [circle(x, y, r + 1.5, "#4FA35A") for x, y, r in crown]
    out += [circle(x, y, r - 1.5, "#7BC96F") for x, y, r in crown]
    out += [circle(x, y, 4.5, "#EF6C6C") for x, y in ((-14, -2), (8, -20), (14, 6))]
    return "".join(out)


def emblem_boat():
    return "".join([
        path("M2,-38 L2,8", "none", "#8D6E63", 3),
        path("M6,-34 L6,4 L32,4 Z", WHITE, "#90A4AE", 2.5),
        path("M-2,-26 L-2,4 L-24,4 Z", "#FFD54A", "#F2A900", 2.5),
        path("M-36,10 L36,10 L26,28 L-26,28 Z", "#FF8A65", "#E0664A", 3),
        path("M-42,36 Q-31,30 -21,36 Q-10,42 0,36 Q10,30 21,36 Q31,42 42,36",
             "none", "#4FC3F7", 3.5),
    ])


def emblem_star():
    return path(star_points(0, 3, 40, 18), "#FFD54A", "#F2A900", 3) + face(0, 5, 6, 2.6)


def emblem_butterfly():
    return "".join([
        path("M-3,-20 Q-10,-34 -18,-36 M3,-20 Q10,-34 18,-36", "none", "#6D4C41", 2.5),
        circle(-18, -36, 3, "#6D4C41"), circle(18, -36, 3, "#6D4C41"),
        ellipse(-18, -10, 18, 14, "#CE93D8", "#9A4AAE", 2.5, rotate=-25),
        ellipse(18, -10, 18, 14, "#CE93D8", "#9A4AAE", 2.5, rotate=25),
        ellipse(-14, 14, 13, 11, "#F48FB1", "#D0628C", 2.5, rotate=20),
        ellipse(14, 14, 13, 11, "#F48FB1", "#D0628C", 2.5, rotate=-20),
        circle(-18, -10, 5, "#FFF59D"), circle(18, -10, 5, "#FFF59D"),
        ellipse(0, 0, 5, 22, "#8D6E63", "#6D4C41", 2),
    ])


def emblem_rainbow():
    out = []
    for r, c in ((36, "#EF8A8A"), (28, "#FFC46B"), (20, "#9BD27F"), (12, "#6CC4F0")):
        out.append(path(f"M{-r},16 A{r},{r} 0 0 1 {r},16", "none", c, 8)
                   .replace(' stroke-linecap="round"', ""))
    for cx in (-27, 27):
        out.append(circle(cx - 7, 18, 8, WHITE, "#90A4AE", 2.2))
        out.append(circle(cx + 6, 17, 9, WHITE, "#90A4AE", 2.2))
        out.append(circle(cx, 12, 9, WHITE, "#90A4AE", 2.2))
        out.append(ellipse(cx, 20, 13, 5, WHITE))
    return "".join(out)


EMBLEMS = {
    "flower": emblem_flower, "mountain": emblem_mountain, "bird": emblem_bird,
    "fish": emblem_fish, "sun": emblem_sun, "tree": emblem_tree, "boat": emblem_boat,
    "star": emblem_star, "butterfly": emblem_butterfly, "rainbow": emblem_rainbow,
}


def place_emblem(name, cx, cy, radius):
    """The emblem scaled so that its drawing radius (~42) becomes radius."""
    s = radius / 42
    return (f'<g transform="translate({num(cx)} {num(cy)}) scale({s:.3f})">'
            f"{EMBLEMS[name]()}</g>")


# ---------------------------------------------------------------- notes

NOTE_X, NOTE_Y, NOTE_W, NOTE_H = 14, 18, 332, 164
INNER = 10  # inset of the thin inner frame


def value_sizes(value):
    """Numeral and unit font sizes by the number of digits."""
    return {1: (112, 50), 2: (96, 44), 3: (76, 40)}[len(str(value))]


def value_group(svg, value, unit, cx, cy, backgrounds):
    """The value in big bold numerals with the unit beside it, centred on (cx, cy)."""
    fs, fu = value_sizes(value)
    gap = 4
    width = len(str(value)) * DIGIT_ADVANCE * fs + gap + fu
    left = cx - width / 2
    split = left + len(str(value)) * DIGIT_ADVANCE * fs
    baseline = cy + 0.36 * fs
    svg.text(str(value), split, baseline, fs, INK, backgrounds, bold=True, anchor="end",
             ident="value")
    svg.text(unit, split + gap, baseline, fu, INK, backgrounds, bold=True, anchor="start",
             ident="unit")
    return width


def note_layout(value):
    """(panel width, medallion radius) so that the value and the emblem share the note."""
    fs, fu = value_sizes(value)
    width = len(str(value)) * DIGIT_ADVANCE * fs + 4 + fu
    panel = max(width + 20, 150)
    room = NOTE_W - 2 * INNER - 8 - 6 - panel  # beside the panel, for the medallion
    radius = min(54, room / 2 - 10)  # its outer ring is 6 wider; keep 4 clear
    return panel, radius


def note_body(svg, tone, reverse=False):
    x, y, w, h = NOTE_X, NOTE_Y, NOTE_W, NOTE_H
    stops = [(0, tone.body), (1, tone.light)]
    fill = svg.gradient_linear(stops[::-1] if reverse else stops, 0, 0, 1, 1)
    svg.add(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="20" fill="{fill}" '
            f'stroke="{tone.deep}" stroke-width="4"/>')
    svg.add(f'<rect x="{x + INNER}" y="{y + INNER}" width="{w - 2 * INNER}" '
            f'height="{h - 2 * INNER}" rx="13" fill="none" stroke="{WHITE}" '
            f'stroke-width="3" stroke-opacity="0.75"/>')
    return [tone.body, tone.light]


def note_panel(svg, tone, x, width):
    y, h = NOTE_Y + 24, NOTE_H - 48
    svg.add(f'<rect x="{num(x)}" y="{y}" width="{num(width)}" height="{h}" rx="16" '
            f'fill="{tone.paper}" stroke="{tone.deep}" stroke-width="2.5"/>')
    return y + h / 2


def medallion(svg, tone, emblem, cx, cy, r):
    svg.add(circle(cx, cy, r + 6, tone.pattern, tone.deep, 2.5))
    svg.add(circle(cx, cy, r, tone.paper, tone.deep, 2))
    svg.add(place_emblem(emblem, cx, cy, r * 0.86))


def front_band(svg, tone):
    """A gentle hill along the bottom of the front."""
    x0, x1 = NOTE_X + INNER + 4, NOTE_X + NOTE_W - INNER - 4
    yb = NOTE_Y + NOTE_H - INNER - 3
    svg.add(path(f"M{x0},{yb} L{x0},{yb - 14} Q{num((x0 + x1) / 2)},{yb - 34} {x1},{yb - 14} "
                 f"L{x1},{yb} Z", tone.pattern, extra=' fill-opacity="0.8"'))


def back_pattern(svg, tone, style):
    x0, x1 = NOTE_X + INNER + 6, NOTE_X + NOTE_W - INNER - 6
    if style == "waves":
        for y in (48, 78, 122, 152):
            d = [f"M{x0},{y}"]
            x, up = x0, True
            while x + 20 <= x1:
                d.append(f"Q{x + 10},{y - 7 if up else y + 7} {x + 20},{y}")
                x += 20
                up = not up
            svg.add(path(" ".join(d), "none", tone.pattern, 5))
    else:  # soft bubbles
        for cx, cy, r in ((46, 48, 12), (84, 150, 16), (150, 40, 9), (196, 156, 11),
                          (236, 44, 14), (318, 150, 13), (322, 52, 9), (130, 156, 8)):
            svg.add(circle(cx, cy, r, tone.pattern))


def draw_note(svg, value, unit, tone, emblem, side, pattern="waves"):
    """A note, front (emblem left, value right) or back (value left, emblem right)."""
    body = note_body(svg, tone, reverse=(side == "back"))
    panel_w, r = note_layout(value)
    inner_l = NOTE_X + INNER + 4
    inner_r = NOTE_X + NOTE_W - INNER - 4
    if side == "front":
        front_band(svg, tone)
        px = inner_r - 6 - panel_w
        mx = (inner_l + px) / 2
    else:
        back_pattern(svg, tone, pattern)
        px = inner_l + 6
        mx = (px + panel_w + inner_r) / 2
    cy = note_panel(svg, tone, px, panel_w)
    medallion(svg, tone, emblem, mx, NOTE_Y + NOTE_H / 2, r)
    value_group(svg, value, unit, px + panel_w / 2, cy, [tone.paper])
    return body


# ---------------------------------------------------------------- coins

COIN_CX, COIN_CY = 180, 100


def coin_disc(svg, metal, radius):
    rim = svg.gradient_radial([(0, metal.face), (0.75, metal.metal), (1, metal.edge)],
                              0.5, 0.5, 0.5)
    svg.add(circle(COIN_CX, COIN_CY, radius, rim, metal.edge, 3))
    svg.add(circle(COIN_CX, COIN_CY, radius - 5, "none", metal.edge, 5,
                   ' stroke-dasharray="3,5" stroke-opacity="0.45"'))
    field_r = radius - 12
    field = svg.gradient_radial([(0, metal.face), (1, metal.metal)], 0.4, 0.35, 0.75)
    svg.add(circle(COIN_CX, COIN_CY, field_r, field, metal.edge, 2.5))
    return field_r, [metal.face, metal.metal]


def draw_coin(svg, value, unit, metal, radius, side, emblem):
    field_r, backgrounds = coin_disc(svg, metal, radius)
    if side == "front":
        # The value stacked over the unit, two small stars beside the unit.
        fs, fu = round(field_r * 1.16), round(field_r * 0.5)
        baseline = COIN_CY - field_r * 0.2 + 0.36 * fs
        svg.text(str(value), COIN_CX, baseline, fs, INK, backgrounds, bold=True, ident="value")
        ub = COIN_CY + field_r * 0.74
        svg.text(unit, COIN_CX, ub, fu, INK, backgrounds, bold=True, ident="unit")
        for dx in (-0.6, 0.6):
            svg.add(path(star_points(COIN_CX + dx * field_r, ub - fu * 0.36, 9, 4), metal.edge))
    else:
        # The emblem above, the value with the unit beside it below.
        svg.add(place_emblem(emblem, COIN_CX, COIN_CY - field_r * 0.5, field_r * 0.38))
        fs, fu = round(field_r * 0.96), round(field_r * 0.46)
        digits = len(str(value))
        width = digits * DIGIT_ADVANCE * fs + 3 + fu
        split = COIN_CX - width / 2 + digits * DIGIT_ADVANCE * fs
        baseline = COIN_CY + field_r * 0.68
        svg.text(str(value), split, baseline, fs, INK, backgrounds, bold=True, anchor="end",
                 ident="value")
        svg.text(unit, split + 3, baseline, fu, INK, backgrounds, bold=True, anchor="start",
                 ident="unit")
    return backgrounds


# ---------------------------------------------------------------- the 47 pictures
# k -> (kind, side, colours, emblem, extra). Kinds: "coin", "note", "tilted" (a note turned).

COIN_SIZES = {(1, FEN): 76, (2, FEN): 80, (5, FEN): 84,
              (1, JIAO): 78, (5, JIAO): 84, (1, YUAN): 90}

PICTURES = {
    1: ("coin", "front", "aluminium", "star", None),
    2: ("note", "front", "1fen", "boat", None),
    36: ("coin", "back", "aluminium", "star", None),
    3: ("coin", "front", "aluminium", "fish", None),
    4: ("note", "front", "2fen", "fish", None),
    37: ("coin", "back", "aluminium", "fish", None),
    5: ("coin", "front", "aluminium", "sun", None),
    38: ("note", "front", "5fen", "sun", None),
    6: ("note", "front", "1jiao", "flower", None),
    7: ("note", "back", "1jiao", "bird", "waves"),
    39: ("coin", "front", "steel", "flower", None),
    42: ("coin", "back", "steel", "flower", None),
    45: ("tilted", "front", "1jiao_b", "butterfly", None),
    8: ("note", "front", "2jiao", "tree", None),
    9: ("note", "back", "2jiao", "boat", "bubbles"),
    10: ("note", "front", "5jiao", "bird", None),
    11: ("note", "back", "5jiao", "flower", "waves"),
    40: ("coin", "front", "brass", "bird", None),
    43: ("coin", "back", "brass", "bird", None),
    46: ("tilted", "front", "5jiao_b", "star", None),
    12: ("note", "front", "1yuan", "sun", None),
    13: ("note", "back", "1yuan", "mountain", "waves"),
    18: ("note", "front", "1yuan_b", "boat", None),
    19: ("note", "back", "1yuan_b", "fish", "bubbles"),
    41: ("coin", "front", "nickel", "tree", None),
    44: ("coin", "back", "nickel", "tree", None),
    47: ("tilted", "front", "1yuan", "rainbow", None),
    14: ("note", "front", "2yuan", "butterfly", None),
    15: ("note", "back", "2yuan", "flower", "bubbles"),
    16: ("note", "front", "5yuan", "mountain", None),
    17: ("note", "back", "5yuan", "star", "waves"),
    20: ("note", "front", "5yuan_b", "fish", None),
    21: ("note", "back", "5yuan_b", "boat", "bubbles"),
    22: ("note", "front", "10yuan", "bird", None),
    23: ("note", "back", "10yuan", "tree", "waves"),
    24: ("note", "front", "10yuan_b", "rainbow", None),
    25: ("note", "back", "10yuan_b", "sun", "bubbles"),
    30: ("note", "front", "20yuan", "tree", None),
    31: ("note", "back", "20yuan", "bird", "waves"),
    26: ("note", "front", "50yuan", "mountain", None),
    27: ("note", "back", "50yuan", "flower", "waves"),
    32: ("note", "front", "50yuan_b", "fish", None),
    33: ("note", "back", "50yuan_b", "star", "bubbles"),
    28: ("note", "front", "100yuan", "flower", None),
    29: ("note", "back", "100yuan", "mountain", "waves"),
    34: ("note", "front", "100yuan_b", "star", None),
    35: ("note", "back", "100yuan_b", "butterfly", "bubbles"),
}

KIND_WORDS = {"coin": "coin", "note": "note", "tilted": "note, turned"}


def picture(k, value, unit):
    kind, side, colours, emblem, extra = PICTURES[k]
    svg = Svg(f"{value} {unit} {KIND_WORDS[kind]}, {side}, {emblem}")
    if kind == "coin":
        draw_coin(svg, value, unit, METALS[colours], COIN_SIZES[(value, unit)], side, emblem)
    else:
        if kind == "tilted":
            svg.add('<g transform="rotate(-7 180 100) translate(180 100) scale(0.88) '
                    'translate(-180 -100)">')
        draw_note(svg, value, unit, NOTE_TONES[colours], emblem, side, extra or "waves")
        if kind == "tilted":
            svg.add("</g>")
    return svg


# ---------------------------------------------------------------- checks and output

FORBIDDEN = {"filter", "mask", "clipPath", "style", "image", "use", "pattern", "foreignObject",
             "script", "symbol", "marker"}


def check_picture(k, svg, text, value, unit):
    for s, colour, backgrounds in svg.texts:
        for bg in backgrounds:
            c = contrast(colour, bg)
            assert c >= MIN_CONTRAST, f"picture {k}: text {s!r} contrast {c:.2f} on {bg}"
    root = ET.fromstring(text.encode("utf-8"))
    ns = "{http://www.w3.org/2000/svg}"
    assert root.get("viewBox") == "0 0 360 200"
    for el in root.iter():
        tag = el.tag.replace(ns, "")
        assert tag not in FORBIDDEN, f"picture {k}: <{tag}> is not for the Tiny renderer"
        for a in el.attrib:
            assert "href" not in a, f"picture {k}: no references"
        for a in ("fill", "stroke", "stop-color"):
            assert el.get(a, "").upper() not in ("#000", "#000000", "BLACK"), f"picture {k}"
    shown = {el.get("id"): el.text for el in root.iter(ns + "text") if el.get("id")}
    assert shown.get("value") == str(value), f"picture {k}: shows {shown.get('value')}"
    assert shown.get("unit") == unit, f"picture {k}: shows unit {shown.get('unit')}"
    assert sorted(PICTURES) == list(range(1, COUNT + 1))


def main(argv):
    root = pathlib.Path(__file__).resolve().parent.parent
    out = pathlib.Path(argv[1]) if len(argv) > 1 else root / "assets" / "scene" / "money"
    out.mkdir(parents=True, exist_ok=True)
    table = value_table()
    total = 0
    for k in range(1, COUNT + 1):
        value, unit = table[k]
        svg = picture(k, value, unit)
        text = svg.render()
        check_picture(k, svg, text, value, unit)
        data = text.encode("utf-8")
        (out / f"money{k:02d}.svg").write_bytes(data)
        total += len(data)
    assert total < 400_000, f"{total} bytes is too much"
    print(f"wrote {COUNT} pictures to {out} ({total} bytes)")


if __name__ == "__main__":
    main(sys.argv)
