#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "worksheet/core/sheet.h"

namespace sumbrook {

// Draws the worksheet's clock faces on the 128 × 128 drawing surface: the dial with its
// marks and numbers, then the two hands. Geometry is in whole surface pixels, drawn as
// lines and outlines, so a face is as sharp on paper as the paper allows.
class ClockFacePainter {
  public:
    static constexpr int kSize = 128;
    static constexpr int kPrintScale = 4;  // device pixels per surface pixel of face()
    static constexpr double kMinimumHandPixels = 1.5;

    // Clears the surface and draws the empty dial.
    static void DrawClockFace(QPainter& painter);
    // Draws the hands of hour (1..12) and minute (0..59) over the dial.
    static void DrawClockHands(QPainter& painter, int hour, int minute);

    // A face showing hour:minute for a picture cell: drawn when the sheet is painted.
    static std::shared_ptr<const CellDrawing> drawing(int hour, int minute);
    // The same face as pixels, as the window's drawing surface shows it.
    static QImage face(int hour, int minute);

    // The point at angle theta (radians clockwise from twelve) and radius r, cut toward
    // zero to whole pixels.
    static QPoint pointAt(double theta, double r);
    // Where an hour number's text begins so that it sits inside the ring.
    static QPoint numberPosition(int number, int textWidth, int textHeight);
};

// One clock face in a picture cell, painted in surface pixels.
class ClockFaceDrawing final : public CellDrawing {
  public:
    ClockFaceDrawing(int hour, int minute);
    QSizeF size() const override;
    void paint(QPainter& painter) const override;
    bool sameAs(const CellDrawing& other) const override;
    int hour() const { return hour_; }
    int minute() const { return minute_; }

  private:
    int hour_;
    int minute_;
};

}  // namespace sumbrook
