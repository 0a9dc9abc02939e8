#include "scene_art.h"

namespace sumbrook {

void SceneArt::paintMoney(QPainter&, const QRectF&, int) {}

}  // namespace sumbrook
