#include "shell/window_arithmetic.h"

#include <algorithm>
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

int WindowArithmetic::FittingOuterWidth(QSize workArea, int frameWidth, int frameHeight,
                                        int wanted) {
    int client = std::min(wanted, workArea.width()) - frameWidth;
    // The cut of the rule may let a pixel more through than the plain ratio: start from the
    // ratio and step down until the rule's own height fits.
    const int byHeight = cut((workArea.height() - frameHeight + 1) * 4.0 / 3.0) + 1;
    client = std::min(client, byHeight);
    while (client > 0 &&
           AspectOuterHeight(client, frameHeight + client, client) > workArea.height()) {
        --client;
    }
    return std::max(1, client + frameWidth);
}

QPoint WindowArithmetic::KeptInside(QRect outer, QRect workArea) {
    const int left =
        std::max(workArea.left(), std::min(outer.left(), workArea.right() + 1 - outer.width()));
    const int top =
        std::max(workArea.top(), std::min(outer.top(), workArea.bottom() + 1 - outer.height()));
    return {left, top};
}

QRect WindowArithmetic::Letterbox(QSize area) {
    // Compared in whole numbers: the width a height gives, and the height a width gives.
    if (static_cast<qint64>(area.width()) * kStageHeight >=
        static_cast<qint64>(area.height()) * kStageWidth) {
        const int width = cut(static_cast<double>(area.height()) * kStageWidth / kStageHeight);
        return {(area.width() - width) / 2, 0, width, area.height()};
    }
    const int height = cut(static_cast<double>(area.width()) * kStageHeight / kStageWidth);
    return {0, (area.height() - height) / 2, area.width(), height};
}

}  // namespace sumbrook
