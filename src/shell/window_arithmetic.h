#pragma once

#include <QPoint>
#include <QSize>

namespace sumbrook {

// The main window's size and place as plain arithmetic, so that it can be checked without
// a screen: the 4:3 rule that ties the client area's height to its width, and where the
// window starts. Window arithmetic is done in double precision and cut toward zero, as
// the rule's numbers were always computed; that cut is why a client width of 164 gives
// 122 rather than 123 (164 / 800 × 600 is a hair under 123 in doubles).
class WindowArithmetic {
  public:
    // The stage the client area keeps the shape of.
    static constexpr int kStageWidth = 800;
    static constexpr int kStageHeight = 600;
    // The outer width the window starts with.
    static constexpr int kStartWidth = 800;

    // The outer height that gives a client area of `clientWidth` the stage's shape, with
    // everything around the client area (caption, borders, menu bar) kept as it is now:
    // trunc(clientWidth / 800 × 600 + (outerHeight − clientHeight)).
    static int AspectOuterHeight(int clientWidth, int outerHeight, int clientHeight);

    // The outer top-left corner of a window started on a screen of `screen`:
    // (trunc(screenWidth / 2 − 400), trunc(screenHeight / 2 − outerHeight / 2)). It can be
    // negative: on a screen narrower than the window, the window starts partly off it.
    static QPoint StartPlacement(QSize screen, int outerHeight);
};

}  // namespace sumbrook
