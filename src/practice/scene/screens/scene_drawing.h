#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

#include "practice/scene/stage_layout.h"

namespace sumbrook::scene_drawing {

// The scenery and signs the open screens (intro, menus, map, completion) share.

void drawSun(QPainter& p, QPointF centre, double radius);
void drawFlower(QPainter& p, QPointF at, const QColor& petals, double size = 7);
void drawTree(QPainter& p, QPointF base, double size);
// The meadow with a sun and a few flowers: the common ground of the open screens.
void drawScenery(QPainter& p, double grassTop, QPointF sun = stage_layout::kSceneSun);
// The product name in bright letters, each with a white halo and a soft shadow.
// `drop(i)` lifts letter i by that many units (for the intro's arrival).
void drawTitle(QPainter& p, QPointF centre, double size, const std::function<double(int)>& drop);
// A ribbon banner with folded ends and white text.
void drawRibbon(QPainter& p, const QRectF& rect, const QString& text, double textSize);

}  // namespace sumbrook::scene_drawing
