#pragma once

#include <QPainter>
#include <QRectF>

namespace sumbrook {

// The scene's drawn art that comes from asset files: the 47 money pictures. Each is
// rendered from its SVG once per size and then reused.
class SceneArt {
  public:
    // Draws money picture k (1..47) fitted into `rect`, keeping its proportions.
    static void paintMoney(QPainter& painter, const QRectF& rect, int picture);
};

}  // namespace sumbrook
