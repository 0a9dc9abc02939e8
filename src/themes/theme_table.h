#pragma once

#include <QByteArray>
#include <QString>
#include <array>

namespace sumbrook {

// One row of the theme table: the name stored in the configuration file (GBK bytes,
// compared byte for byte) and as text, the caption of its radio button, whether it has a
// skin block (rows 1 to 7; row 8 is the system look), and its place in the dialog.
struct ThemeRow {
    int row;  // 1 to 8, the order in which stored names are compared
    QByteArray storedName;
    QString name;
    QString caption;
    bool hasSkin;
    int column;     // 0 left, 1 right
    int dialogRow;  // 0 to 3, top to bottom
};

inline constexpr int kThemeCount = 8;
inline constexpr int kDefaultThemeRow = 5;
inline constexpr int kSystemLookRow = 8;

// The eight rows in comparing order.
const std::array<ThemeRow, kThemeCount>& themeTable();
// The row whose stored name equals `name` byte for byte, or 0.
int themeRowForStoredName(const QByteArray& name);

// The configuration file's section and key, GBK bytes.
QByteArray themeSection();
QByteArray themeKey();

}  // namespace sumbrook
