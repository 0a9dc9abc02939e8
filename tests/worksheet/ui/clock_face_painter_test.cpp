#include "worksheet/ui/clock_face_painter.h"

#include <gtest/gtest.h>

namespace sumbrook {
namespace {

TEST(ClockFacePainter, PointsAreCutTowardZero) {
    EXPECT_EQ(ClockFacePainter::pointAt(0, 60), QPoint(64, 4));
    // A quarter turn leaves the cosine a hair above zero: 63.99… is cut to 63.
    EXPECT_EQ(ClockFacePainter::pointAt(3.1415926535 / 2, 60), QPoint(124, 63));
    // 60° at radius 52: 64 + 45.03 → 109, 64 − 26.0 → 37 (38.0000x cut to 37 or 38).
    const QPoint p = ClockFacePainter::pointAt(60 * 3.1415926535 / 180, 52);
    EXPECT_EQ(p.x(), 109);
    EXPECT_TRUE(p.y() == 37 || p.y() == 38);
}

TEST(ClockFacePainter, HourNumbersSitInsideTheRing) {
    const int w = 12;
    const int h = 12;
    struct Row {
        int number;
        QPoint at;
    };
    const QPoint p12 = ClockFacePainter::pointAt(60 * 18.849555921 / 180, 52);
    const QPoint p3 = ClockFacePainter::pointAt(15 * 18.849555921 / 180, 52);
    const QPoint p6 = ClockFacePainter::pointAt(30 * 18.849555921 / 180, 52);
    const QPoint p9 = ClockFacePainter::pointAt(45 * 18.849555921 / 180, 52);
    const Row rows[] = {
        {12, {p12.x() - 6, p12.y()}},
        {3, {p3.x() - 12, p3.y() - 6}},
        {6, {p6.x() - 6, p6.y() - 12}},
        {9, {p9.x(), p9.y() - 6}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ClockFacePainter::numberPosition(row.number, w, h), row.at) << row.number;
    }
    // Every number's box stays inside the dial.
    for (int n = 1; n <= 12; ++n) {
        const QRect box(ClockFacePainter::numberPosition(n, w, h), QSize(w, h));
        EXPECT_TRUE(QRect(4, 4, 120, 120).contains(box)) << n;
    }
}

// Dark pixels along a ray from the centre, sampled on the surface's pixel grid.
int inkAlong(const QImage& face, double degrees, int from, int to) {
    int dark = 0;
    for (int r = from; r <= to; ++r) {
        const double t = degrees * 3.1415926535 / 180;
        const QPointF p(64 + r * std::sin(t), 64 - r * std::cos(t));
        const QPoint px((p * ClockFacePainter::kPrintScale).toPoint());
        dark += qGray(face.pixel(px)) < 128 ? 1 : 0;
    }
    return dark;
}

TEST(ClockFacePainter, HandsPointWhereTheTimeSays) {
    const QImage noon = ClockFacePainter::face(12, 0);
    EXPECT_GT(inkAlong(noon, 0, 8, 40), 25);  // both hands straight up
    EXPECT_EQ(inkAlong(noon, 180, 8, 40), 0);

    const QImage halfPastSix = ClockFacePainter::face(6, 30);
    EXPECT_GT(inkAlong(halfPastSix, 180, 30, 44), 12);  // the minute hand straight down
    EXPECT_GT(inkAlong(halfPastSix, 195, 8, 26), 15);   // the hour hand between 6 and 7
    EXPECT_EQ(inkAlong(halfPastSix, 0, 8, 40), 0);
    EXPECT_NE(noon, halfPastSix);
}

}  // namespace
}  // namespace sumbrook
