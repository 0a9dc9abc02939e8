#pragma once

#include <QPoint>
#include <QRect>
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

    // The widest outer width, at most `wanted`, whose window keeps its 4:3 client area and
    // still fits `workArea` whole, given what surrounds the client area: `frameWidth` =
    // outer width − client width, `frameHeight` = outer height − client height (menu bar
    // included). At least 1 however small the work area.
    static int FittingOuterWidth(QSize workArea, int frameWidth, int frameHeight, int wanted);

    // `outer` moved by as little as it takes to stand inside `workArea`; a window larger
    // than the work area keeps its top-left corner at the work area's.
    static QPoint KeptInside(QRect outer, QRect workArea);

    // The largest area of the stage's shape inside `area`, centred: where the scene stands
    // when the window fills a screen or work area of another shape. Bands of equal width
    // are left on both sides (or above and below); an odd pixel goes to the right (bottom).
    static QRect Letterbox(QSize area);
};

}  // namespace sumbrook
