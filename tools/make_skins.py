#!/usr/bin/env python3
"""Writes the seven skin blocks to assets/skins/<name>.she.

A block is ".SHE", u32 version 1, u32 length + a UTF-8 Qt style sheet, u32 count +
palette entries (u8 colour group 0 Active / 1 Disabled / 2 Inactive, u8 colour role,
u32 0xAARRGGBB). All integers are little-endian. The output is the same on every run.
usage: python3 tools/make_skins.py [output-dir]
"""
import os
import struct
import sys

# QPalette::ColorRole values.
ROLES = {
    "WindowText": 0, "Button": 1, "Light": 2, "Midlight": 3, "Dark": 4, "Mid": 5,
    "Text": 6, "BrightText": 7, "ButtonText": 8, "Base": 9, "Window": 10, "Shadow": 11,
    "Highlight": 12, "HighlightedText": 13, "Link": 14, "LinkVisited": 15,
    "AlternateBase": 16, "ToolTipBase": 18, "ToolTipText": 19, "PlaceholderText": 20,
}

# Each skin: window, window text, base (fields), text, button top/bottom, button text,
# hover, pressed, border, accent (focus ring, selection, checked marks), accent text,
# disabled text, title strip of group boxes and menus.
SKINS = {
    "silver": dict(window="#e6e9ee", text="#1d232b", base="#ffffff", field_text="#1d232b",
                   button_top="#fbfcfd", button_bottom="#cfd5dd", button_text="#1d232b",
                   hover="#e9eef5", pressed="#b9c2ce", border="#8a95a3", accent="#2f5f9e",
                   accent_text="#ffffff", disabled="#6b7480", strip="#d3d9e1", radius=4),
    "grey": dict(window="#b8b8b8", text="#111111", base="#e4e4e4", field_text="#111111",
                 button_top="#a4a4a4", button_bottom="#a4a4a4", button_text="#000000",
                 hover="#c6c6c6", pressed="#8c8c8c", border="#4a4a4a", accent="#1f1f1f",
                 accent_text="#ffffff", disabled="#505050", strip="#9a9a9a", radius=0),
    "black": dict(window="#1b1b1f", text="#ececec", base="#26262c", field_text="#f2f2f2",
                  button_top="#3a3a42", button_bottom="#24242a", button_text="#f0f0f0",
                  hover="#4a4a54", pressed="#111114", border="#6e6e78", accent="#d4af37",
                  accent_text="#1b1b1f", disabled="#9a9aa2", strip="#2c2c33", radius=3),
    "spring": dict(window="#e9f6e3", text="#1e3d1a", base="#fffafc", field_text="#1e3d1a",
                   button_top="#c9ecbd", button_bottom="#9fd88d", button_text="#163314",
                   hover="#fbd3e2", pressed="#7cc46a", border="#4f9a44", accent="#c2185b",
                   accent_text="#ffffff", disabled="#4f6b4a", strip="#f7c6d9", radius=8),
    "autumn": dict(window="#fdf1dc", text="#3b2106", base="#fffaf2", field_text="#3b2106",
                   button_top="#ffd27a", button_bottom="#f4a233", button_text="#3b2106",
                   hover="#ffe0a3", pressed="#dc8a1e", border="#b8661a", accent="#a33a00",
                   accent_text="#ffffff", disabled="#7a5a38", strip="#f7c46c", radius=6),
    "blue": dict(window="#e4efff", text="#0d2350", base="#f7fbff", field_text="#0d2350",
                 button_top="#b9d6ff", button_bottom="#7fb0f5", button_text="#0b1f47",
                 hover="#cfe3ff", pressed="#5b93e6", border="#3a6fc4", accent="#0b3fa8",
                 accent_text="#ffffff", disabled="#4a5e80", strip="#b3d0fa", radius=10),
    "purple": dict(window="#f1e8fa", text="#2e1248", base="#fdfaff", field_text="#2e1248",
                   button_top="#dcc4f2", button_bottom="#b994e0", button_text="#25093d",
                   hover="#e8d8f7", pressed="#9a6fd0", border="#7a4bb0", accent="#6a1b9a",
                   accent_text="#ffffff", disabled="#5f4a73", strip="#d4b8ef", radius=12),
}

ORDER = ["silver", "grey", "black", "spring", "autumn", "blue", "purple"]

# Box metrics stay within the room the system look gives a control: the program's forms
# place their controls at fixed sizes (a 64 × 39 button holds "简单竖式", a 40 × 18 field a
# count, six tabs share 293 pixels), which a skin repaints but never enlarges.
SHEET = """\
QWidget {{ background-color: {window}; color: {text}; }}
QDialog, QMainWindow, QMessageBox {{ background-color: {window}; }}
QLabel {{ background: transparent; color: {text}; }}
QFrame[frameShape="4"], QFrame[frameShape="5"] {{ color: {border}; }}
QPushButton {{
    color: {button_text};
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {button_top}, stop:1 {button_bottom});
    border: 1px solid {border}; border-radius: {radius}px; padding: 2px 4px;
}}
QPushButton:hover {{ background: {hover}; }}
QPushButton:pressed, QPushButton:checked {{ background: {pressed}; }}
QPushButton:disabled {{ color: {disabled}; background: {window}; border-color: {disabled}; }}
QPushButton:focus {{ border: 2px solid {accent}; outline: none; }}
QPushButton:default {{ border-width: 2px; }}
QLineEdit, QPlainTextEdit, QTextEdit, QComboBox, QSpinBox, QAbstractSpinBox {{
    color: {field_text}; background-color: {base};
    border: 1px solid {border}; border-radius: {radius_small}px; padding: 0px 2px;
    selection-background-color: {accent}; selection-color: {accent_text};
}}
QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus, QComboBox:focus, QAbstractSpinBox:focus {{
    border: 2px solid {accent};
}}
QLineEdit:disabled, QPlainTextEdit:disabled, QComboBox:disabled {{ color: {disabled}; }}
QComboBox QAbstractItemView {{
    color: {field_text}; background-color: {base};
    selection-background-color: {accent}; selection-color: {accent_text};
}}
QGroupBox {{
    border: 1px solid {border}; border-radius: {radius}px; margin-top: 14px; padding-top: 6px;
}}
QGroupBox::title {{
    subcontrol-origin: margin; left: 8px; padding: 0 4px;
    color: {text}; background-color: {strip}; border-radius: 3px;
}}
QRadioButton, QCheckBox {{ color: {text}; background: transparent; spacing: 3px; padding: 1px; }}
QRadioButton:focus, QCheckBox:focus {{ border: 1px solid {accent}; border-radius: 4px; padding: 0px; }}
QRadioButton:disabled, QCheckBox:disabled {{ color: {disabled}; }}
QRadioButton::indicator, QCheckBox::indicator {{
    width: 10px; height: 10px; border: 2px solid {border}; background-color: {base};
}}
QRadioButton::indicator {{ border-radius: 7px; }}
QCheckBox::indicator {{ border-radius: 3px; }}
QRadioButton::indicator:checked, QCheckBox::indicator:checked {{
    background-color: {accent}; border-color: {accent};
}}
QTabWidget::pane {{ border: 1px solid {border}; background-color: {window}; top: -1px; }}
QTabBar::tab {{
    color: {button_text}; background-color: {strip};
    border: 1px solid {border}; border-bottom: none; padding: 4px 8px; margin-right: 1px;
    border-top-left-radius: {radius_small}px; border-top-right-radius: {radius_small}px;
}}
QTabBar::tab:selected {{ background-color: {window}; color: {text}; font-weight: bold; }}
QTabBar::tab:hover {{ background-color: {hover}; }}
QTabBar::tab:focus {{ border: 2px solid {accent}; border-bottom: none; }}
QScrollBar:vertical, QScrollBar:horizontal {{ background-color: {strip}; border: none; }}
QScrollBar:vertical {{ width: 14px; }}
QScrollBar:horizontal {{ height: 14px; }}
QScrollBar::handle {{ background-color: {button_bottom}; border: 1px solid {border}; border-radius: 5px; min-height: 20px; min-width: 20px; }}
QScrollBar::handle:hover {{ background-color: {pressed}; }}
QScrollBar::add-line, QScrollBar::sub-line {{ width: 0px; height: 0px; }}
QMenuBar {{ background-color: {strip}; color: {text}; border-bottom: 1px solid {border}; }}
QMenuBar::item {{ background: transparent; padding: 4px 10px; }}
QMenuBar::item:selected {{ background-color: {accent}; color: {accent_text}; }}
QMenu {{ background-color: {base}; color: {field_text}; border: 1px solid {border}; }}
QMenu::item {{ padding: 4px 24px; }}
QMenu::item:selected {{ background-color: {accent}; color: {accent_text}; }}
QMenu::item:disabled {{ color: {disabled}; }}
QMenu::separator {{ height: 1px; background-color: {border}; margin: 3px 6px; }}
QToolTip {{ color: {field_text}; background-color: {base}; border: 1px solid {border}; }}
"""


def argb(colour):
    return 0xFF000000 | int(colour[1:], 16)


def palette(s):
    active = {
        "Window": s["window"], "WindowText": s["text"], "Base": s["base"],
        "AlternateBase": s["strip"], "Text": s["field_text"], "Button": s["button_bottom"],
        "ButtonText": s["button_text"], "Highlight": s["accent"],
        "HighlightedText": s["accent_text"], "Light": s["button_top"], "Midlight": s["hover"],
        "Mid": s["border"], "Dark": s["pressed"], "Shadow": "#000000", "BrightText": "#ffffff",
        "Link": s["accent"], "LinkVisited": s["accent"], "ToolTipBase": s["base"],
        "ToolTipText": s["field_text"], "PlaceholderText": s["disabled"],
    }
    entries = []
    for group in (0, 2):  # Active, Inactive
        for role, colour in active.items():
            entries.append((group, ROLES[role], argb(colour)))
    disabled = dict(active)
    for role in ("WindowText", "Text", "ButtonText"):
        disabled[role] = s["disabled"]
    for role, colour in disabled.items():
        entries.append((1, ROLES[role], argb(colour)))
    return entries


def block(s):
    values = dict(s)
    values["radius_small"] = min(s["radius"], 4)
    sheet = SHEET.format(**values).encode("utf-8")
    out = bytearray(b".SHE")
    out += struct.pack("<II", 1, len(sheet)) + sheet
    entries = palette(s)
    out += struct.pack("<I", len(entries))
    for group, role, colour in entries:
        out += struct.pack("<BBI", group, role, colour)
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "assets", "skins")
    os.makedirs(target, exist_ok=True)
    for name in ORDER:
        with open(os.path.join(target, name + ".she"), "wb") as f:
            f.write(block(SKINS[name]))


if __name__ == "__main__":
    main()
