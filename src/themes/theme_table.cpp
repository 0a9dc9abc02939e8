#include "themes/theme_table.h"

namespace sumbrook {

// Names are kept as GBK bytes here so that the file's content never depends on which
// codecs the Qt build carries.
const std::array<ThemeRow, kThemeCount>& themeTable() {
    static const std::array<ThemeRow, kThemeCount> table = {{
        {1, QByteArray("\xd2\xf8\xc9\xab\xb4\xb0\xbf\xda"), QStringLiteral("银色窗口"),
         QStringLiteral("银色窗口"), true, 0, 0},
        {2, QByteArray("\xbb\xd2\xc9\xab\xb7\xe7\xb8\xf1"), QStringLiteral("灰色风格"),
         QStringLiteral("灰色风格"), true, 0, 1},
        {3, QByteArray("\xb8\xdf\xb9\xf3\xba\xda\xc9\xab"), QStringLiteral("高贵黑色"),
         QStringLiteral("高贵黑色"), true, 0, 2},
        {4, QByteArray("\xc2\xfa\xd4\xb0\xb4\xba\xc9\xab"), QStringLiteral("满园春色"),
         QStringLiteral("满园春色"), true, 0, 3},
        {5, QByteArray("\xbd\xf0\xc7\xef\xc9\xcd\xbd\xdb"), QStringLiteral("金秋赏桔"),
         QStringLiteral("金秋赏桔"), true, 1, 1},
        {6, QByteArray("\xc3\xce\xbb\xc3\xc0\xb6\xc9\xab"), QStringLiteral("梦幻蓝色"),
         QStringLiteral("梦幻蓝色"), true, 1, 2},
        {7, QByteArray("\xd7\xcf\xc9\xab\xb7\xe7\xc1\xe5"), QStringLiteral("紫色风铃"),
         QStringLiteral("紫色风铃"), true, 1, 0},
        {8, QByteArray("Windows\xc4\xac\xc8\xcf"), QStringLiteral("Windows默认"),
         QStringLiteral("windows默认"), false, 1, 3},
    }};
    return table;
}

int themeRowForStoredName(const QByteArray& name) {
    for (const ThemeRow& row : themeTable()) {
        if (row.storedName == name) {
            return row.row;
        }
    }
    return 0;
}

QByteArray themeSection() {
    return QByteArray("\xb4\xb0\xbf\xda");
}  // 窗口
QByteArray themeKey() {
    return QByteArray("\xb4\xb0\xbf\xda\xd6\xf7\xcc\xe2");
}  // 窗口主题

}  // namespace sumbrook
