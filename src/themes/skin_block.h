#pragma once

#include <QByteArray>
#include <QList>
#include <QPalette>
#include <QString>
#include <optional>

namespace sumbrook {

// The seven embedded skin blocks, rows 1 to 7 of the theme table; any other row gives an
// empty array. The bytes are constant program data and are never copied.
QByteArray skinBlock(int row);

// A skin block read back: ".SHE", u32 version 1, u32 length + UTF-8 Qt style sheet,
// u32 count + entries (u8 colour group, u8 colour role, u32 0xAARRGGBB), little-endian.
struct SkinLook {
    struct Entry {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        QRgb colour;
    };
    QString styleSheet;
    QList<Entry> entries;

    // `base` with every entry of the block set on it.
    QPalette paletteOver(const QPalette& base) const;
};

// Nothing when the block is cut short, has another signature or version, names an unknown
// group or role, or carries bytes after its last entry.
std::optional<SkinLook> parseSkinBlock(const QByteArray& block);

}  // namespace sumbrook
