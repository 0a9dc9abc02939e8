#pragma once

#include <QFont>

namespace sumbrook {

// The one face of the parent's and the teacher's windows, their charts, maps and tiles.
inline QFont windowFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace sumbrook
