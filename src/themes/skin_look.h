#pragma once

#include <QByteArray>
#include <QList>
#include <QPalette>
#include <QString>
#include <optional>

namespace sumbrook {

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
