#pragma once

#include <QImage>
#include <QPainter>

namespace sumbrook {

// Draws the worksheet's clock faces on the 128 × 128 drawing surface: the dial with its
// marks and numbers, then the two hands. Geometry is in whole surface pixels; the image
// it makes carries a higher device-pixel ratio so that the face stays sharp in print.
class ClockFacePainter {
  public:
    static constexpr int kSize = 128;
    static constexpr int kPrintScale = 4;  // device pixels per surface pixel

    // Clears the surface and draws the empty dial.
    static void DrawClockFace(QPainter& painter);
    // Draws the hands of hour (1..12) and minute (0..59) over the dial.
    static void DrawClockHands(QPainter& painter, int hour, int minute);

    // A face showing hour:minute, ready for a picture cell.
    static QImage face(int hour, int minute);

    // The point at angle theta (radians clockwise from twelve) and radius r, cut toward
    // zero to whole pixels.
    static QPoint pointAt(double theta, double r);
    // Where an hour number's text begins so that it sits inside the ring.
    static QPoint numberPosition(int number, int textWidth, int textHeight);
};

}  // namespace sumbrook
