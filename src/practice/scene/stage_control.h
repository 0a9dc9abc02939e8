#pragma once

#include <QRectF>
#include <QString>
#include <functional>

#include "scene_style.h"

namespace sumbrook {

// One control on the stage: where it stands, the caption by which it is found, and what
// it does. Keypad keys and "下一题" act when pressed, most others when released over
// them; a held control (the volume buttons) acts on press and again when let go.
struct StageControl {
    enum class Trigger { Press, Release, Hold };

    QString caption;
    QRectF rect;  // stage units
    Trigger trigger = Trigger::Release;
    std::function<void()> action;
    std::function<void()> letGo;  // Hold only: on release, or when the pointer leaves
    scene_style::ButtonKind kind = scene_style::ButtonKind::Primary;
    QString name;                // the scene's own name where it has one, e.g. "go_btn"
    bool drawnByScreen = false;  // the screen paints it itself
};

}  // namespace sumbrook
