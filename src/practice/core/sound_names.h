#pragma once

#include <QString>

namespace sumbrook::sound_names {

// The scene's short sounds, as the asset bundle names them.
inline QString introJingle() {
    return QStringLiteral("intro.mp3");
}
inline QString fanfare() {
    return QStringLiteral("fanfare.mp3");
}
inline QString praise(int k) {
    return QStringLiteral("praise%1.mp3").arg(k + 1);
}  // k 0..2
inline QString comfort(int k) {
    return QStringLiteral("comfort%1.mp3").arg(k + 1);
}  // k 0..2
inline QString settingsHover() {
    return QStringLiteral("hover.mp3");
}
inline QString settingsPress() {
    return QStringLiteral("press.mp3");
}

// Song k (1..9): the digit written three times, "444.mp3" for k = 4.
inline QString song(int k) {
    return QString(3, QChar(u'0' + k)) + QStringLiteral(".mp3");
}

}  // namespace sumbrook::sound_names
