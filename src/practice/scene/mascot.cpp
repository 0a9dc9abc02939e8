#include "mascot.h"

namespace sumbrook {

void Mascot::paint(QPainter&, QPointF, double, Mood, int) {}

}  // namespace sumbrook
