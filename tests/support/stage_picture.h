#pragma once

#include <QImage>
#include <QPainter>

#include "practice/scene/practice_stage.h"

namespace sumbrook::testing {

// The whole stage painted at its own 800 × 600 size over white.
inline QImage stagePicture(const PracticeStage& stage) {
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    stage.paint(painter);
    return image;
}

}  // namespace sumbrook::testing
