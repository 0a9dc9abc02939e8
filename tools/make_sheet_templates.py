#!/usr/bin/env python3
"""Writes the three empty worksheet templates (arithmetic, vertical, clock) as .sdtw files.

The layouts below are the single place where the printed sheets' rows, texts and fonts are
decided; the build compiles the written files into the program. Run it again after changing
a layout and check the files in:

    tools/make_sheet_templates.py [output folder]   (default: assets/templates)
"""

import pathlib
import struct
import sys
from dataclasses import dataclass, replace

# Style flags.
TITLE = 0x08
PICTURE = 0x80
# Merge flags.
JOINED_RIGHT = 0x10
JOINED_LEFT = 0x04

NO_BACKGROUND = 0xFF000000
CELL_RESERVED = 9

SONG = "宋体"
NEW_SONG = "新宋体"
KAI = "楷体_GB2312"
HEI = "黑体"


@dataclass(frozen=True)
class Cell:
    text: str = ""
    font: str = ""  # "" for none
    size: int = 40  # character height, tenths of a millimetre
    format: int = 1
    style: int = 0
    merge: int = 0


BLANK = Cell()


def joined(cell, columns):
    """A run of joined cells across the whole row. The text stands in the first cell; the
    others stay empty but share its font, size, format and style, so the block reads as one
    cell whichever of its cells a painter looks at."""
    assert columns >= 2
    rest = replace(cell, text="")
    merges = [JOINED_RIGHT] + [JOINED_RIGHT | JOINED_LEFT] * (columns - 2) + [JOINED_LEFT]
    return [replace(cell if i == 0 else rest, merge=m) for i, m in enumerate(merges)]


def each(cell, columns):
    return [cell] * columns


def rows(count, height, cells):
    return [(height, cells)] * count


TITLE_TEXT = "数 学 口 算 题"
DATE_BLANKS = "年   月   日"

QUESTION_SONG = Cell(font=SONG, size=49, format=4)

ARITHMETIC = {
    "widths": [700, 700],
    "margins": (300, 250, 300, 230),  # left, top, right, bottom
    "rows": [
        (128, joined(Cell(TITLE_TEXT, KAI, 77, format=2, style=TITLE), 2)),
        (119, joined(Cell(" " * 5 + "姓名:" + " " * 32 + DATE_BLANKS, SONG, 49, format=6), 2)),
        (159, joined(Cell("用时: " + "_" * 6 + "分钟" + " " * 10 + "得分：" + "_" * 10,
                          SONG, 49, format=5), 2)),
        (56, each(QUESTION_SONG, 2)),
        *rows(15, 125, each(QUESTION_SONG, 2)),  # the question cells, two per row
        (34, each(BLANK, 2)),
    ],
}

VERTICAL = {
    "widths": [470, 470, 470],
    "margins": (260, 230, 260, 220),
    "rows": [
        (109, joined(Cell(TITLE_TEXT, KAI, 77, format=5, style=TITLE), 3)),
        (81, joined(Cell(DATE_BLANKS, SONG, 42, format=6), 3)),
        (106, joined(Cell("姓名:" + " " * 15 + "用时：" + " " * 15 + "得分：", SONG, 42, format=5), 3)),
        (41, [BLANK, BLANK, QUESTION_SONG]),
        *rows(7, 293, each(Cell(font=NEW_SONG, size=49, format=5), 3)),  # question cells
        (44, each(BLANK, 3)),
    ],
}

CLOCK_FACE = Cell(format=10, style=PICTURE)
ANSWER_BLANKS = Cell("\r\n" * 3 + "  ___时___分" + "\r\n" * 2 + "  ____:____", SONG, 42, format=1)
CLOCK_ROW = (400, [CLOCK_FACE, ANSWER_BLANKS, CLOCK_FACE, ANSWER_BLANKS])
CLOCK_GAP = (60, each(BLANK, 4))

CLOCK = {
    "widths": [400, 355, 400, 355],
    "margins": (230, 200, 230, 200),
    "rows": [
        (119, joined(Cell("认 识 时 间", HEI, 70, format=5), 4)),
        (59, each(BLANK, 4)),
        CLOCK_ROW, CLOCK_GAP,
        CLOCK_ROW, CLOCK_GAP,
        CLOCK_ROW, CLOCK_GAP,
        CLOCK_ROW, CLOCK_GAP,
        CLOCK_ROW,
        (38, each(BLANK, 4)),
    ],
}

TEMPLATES = {"arithmetic": ARITHMETIC, "vertical": VERTICAL, "clock": CLOCK}


def u32(value):
    return struct.pack("<I", value)


def cell_bytes(cell):
    font = cell.font.encode("gbk")
    out = struct.pack("<BBBBIIHH", cell.format, cell.style, cell.merge, 0,
                      0, NO_BACKGROUND, cell.size, CELL_RESERVED)
    out += u32(len(font)) + font
    if cell.text:
        text = cell.text.encode("gbk") + b"\0"
        out += u32(len(text)) + text
    else:
        out += u32(0)
    return out


def template_bytes(layout):
    widths = layout["widths"]
    body = b"SDTW" + u32(len(layout["rows"])) + u32(len(widths)) + u32(0) + u32(0)
    body += b"".join(u32(height) for height, _ in layout["rows"])
    body += b"".join(u32(width) for width in widths)
    for _, cells in layout["rows"]:
        assert len(cells) == len(widths)
        body += b"".join(cell_bytes(cell) for cell in cells)
    body += b"".join(u32(margin) for margin in layout["margins"])
    body += struct.pack("<HHHH", 0, 100, 9, 1)  # zero, scale, paper A4, portrait
    body += bytes(12)
    return u32(1) + u32(len(body)) + body


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "assets" / "templates"
    folder.mkdir(parents=True, exist_ok=True)
    for name, layout in TEMPLATES.items():
        path = folder / f"{name}.sdtw"
        path.write_bytes(template_bytes(layout))
        print(f"wrote {path}")


if __name__ == "__main__":
    main()
