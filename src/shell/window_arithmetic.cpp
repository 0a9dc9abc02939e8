#include "shell/window_arithmetic.h"

#include <cmath>

namespace sumbrook {

namespace {

int cut(double value) {
    return static_cast<int>(std::trunc(value));
}

}  // namespace

int WindowArithmetic::AspectOuterHeight(int clientWidth, int outerHeight, int clientHeight) {
    const int frame = outerHeight - clientHeight;
    return cut(static_cast<double>(clientWidth) / kStageWidth * kStageHeight + frame);
}

QPoint WindowArithmetic::StartPlacement(QSize screen, int outerHeight) {
    const double left = screen.width() / 2.0 - kStartWidth / 2.0;
    const double top = screen.height() / 2.0 - outerHeight / 2.0;
    return {cut(left), cut(top)};
}

}  // namespace sumbrook
