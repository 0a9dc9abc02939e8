#include "mascot.h"

#include <QPainterPath>
#include <cmath>

#include "scene_style.h"
#include "scene_timing.h"

namespace sumbrook {

namespace {

namespace bear = timing::bear;

// The bear is drawn in a box 100 units tall, feet at the origin, and scaled to size.
const QColor& kFur = scene_style::kBearFur;
const QColor& kFurEdge = scene_style::kBearFurEdge;
const QColor& kCream = scene_style::kBearCream;
const QColor& kInnerEar = scene_style::kBearInnerEar;
const QColor& kDark = scene_style::kBearDark;
const QColor& kCheek = scene_style::kBearCheek;
const QColor& kScarf = scene_style::kPrimary;
const QColor& kScarfEdge = scene_style::kPrimaryPressed;
const QColor& kScarfStripe = scene_style::kScarfStripe;
constexpr double kEdge = 2.4;

// One full swing per second at 12 display steps a second: slow enough to stay calm.
double swing(int step, double periodSteps) {
    return std::sin(step * 2 * M_PI / periodSteps);
}

void blob(QPainter& p, QPointF centre, double rx, double ry, const QColor& fill,
          const QColor& edge = kFurEdge) {
    p.setPen(QPen(edge, kEdge));
    p.setBrush(fill);
    p.drawEllipse(centre, rx, ry);
}

// A limb as a capsule from `from` to `to`: an outline stroke under a fur stroke, so the
// round caps keep the soft outline.
void limb(QPainter& p, QPointF from, QPointF to, double width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFurEdge, width + 2 * kEdge, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(kFur, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    // A cream pad on the paw.
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(to, width * 0.28, width * 0.28);
}

// The end of a limb of `length` leaving `shoulder` at `degrees` (0 = straight down,
// positive = towards +x, 180 = straight up).
QPointF limbEnd(QPointF shoulder, double degrees, double length) {
    const double a = degrees * M_PI / 180;
    return shoulder + QPointF(length * std::sin(a), length * std::cos(a));
}

void smile(QPainter& p, QPointF centre, double width, double depth) {
    QPainterPath path;
    path.moveTo(centre + QPointF(-width / 2, 0));
    path.quadTo(centre + QPointF(0, depth * 2), centre + QPointF(width / 2, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kDark, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

void scarf(QPainter& p, double lean, int step, bool flutter) {
    // The band round the neck.
    QPainterPath band;
    band.moveTo(-25, -46);
    band.quadTo(0, -38, 25, -46);
    band.lineTo(25, -37);
    band.quadTo(0, -29, -25, -37);
    band.closeSubpath();
    // The tail hangs on the bear's left and sways a little when it moves.
    const double sway = flutter ? 4 * swing(step, bear::kScarfFlutter) : 0;
    QPainterPath tail;
    tail.moveTo(-20, -40);
    tail.lineTo(-10, -38);
    tail.lineTo(-12 + sway + lean, -16);
    tail.lineTo(-22 + sway + lean, -18);
    tail.closeSubpath();
    p.setPen(QPen(kScarfEdge, kEdge, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kScarf);
    p.drawPath(tail);
    p.drawPath(band);
    p.setPen(QPen(kScarfStripe, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-21.5 + sway * 0.8 + lean * 0.8, -22),
               QPointF(-11.5 + sway * 0.8 + lean * 0.8, -21));
    p.drawLine(QPointF(-8, -38.5), QPointF(-9, -33.5));
    p.drawLine(QPointF(8, -38.5), QPointF(9, -33.5));
}

void head(QPainter& p, Mascot::Mood mood, double tilt) {
    p.save();
    p.translate(0, -69);
    p.rotate(tilt);
    // Ears behind the head.
    for (const double side : {-1.0, 1.0}) {
        blob(p, QPointF(side * 23, -22), 11, 11, kFur);
        p.setPen(Qt::NoPen);
        p.setBrush(kInnerEar);
        p.drawEllipse(QPointF(side * 23, -22), 6, 6);
    }
    blob(p, QPointF(0, 0), 31, 28, kFur);
    if (mood == Mascot::Mood::Walking) {
        p.translate(4, 0);  // the face turns a little towards where it walks
    }
    // Face: muzzle, cheeks, eyes, nose and mouth.
    p.setPen(Qt::NoPen);
    p.setBrush(kCheek);
    p.drawEllipse(QPointF(-19, 7), 5.5, 3.8);
    p.drawEllipse(QPointF(19, 7), 5.5, 3.8);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(0, 8), 13, 10);

    p.setBrush(kDark);
    if (mood == Mascot::Mood::Cheering) {
        // Happy closed eyes, curved up.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kDark, 2.6, Qt::SolidLine, Qt::RoundCap));
        for (const double side : {-1.0, 1.0}) {
            QPainterPath eye;
            eye.moveTo(side * 11 - 4.5, -5);
            eye.quadTo(side * 11, -10.5, side * 11 + 4.5, -5);
            p.drawPath(eye);
        }
    } else {
        // Thinking looks up and aside, as one does when working a sum out.
        const QPointF look = mood == Mascot::Mood::Thinking ? QPointF(1.6, -1.6) : QPointF(0, 0);
        for (const double side : {-1.0, 1.0}) {
            p.setPen(Qt::NoPen);
            p.setBrush(kDark);
            p.drawEllipse(QPointF(side * 11, -5) + look, 3.8, 4.4);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(side * 11 + 1.2, -6.5) + look, 1.3, 1.3);
        }
    }
    if (mood == Mascot::Mood::Thinking) {
        // Raised brows read as curious, never worried.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kFurEdge, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-15, -14), QPointF(-8, -15.5));
        p.drawLine(QPointF(8, -15.5), QPointF(15, -14));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(0, 3.5), 5, 3.6);
    p.setPen(QPen(kDark, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 6), QPointF(0, 9));
    if (mood == Mascot::Mood::Cheering) {
        // An open, laughing mouth.
        QPainterPath mouth;
        mouth.moveTo(-6.5, 9.5);
        mouth.quadTo(0, 20, 6.5, 9.5);
        mouth.closeSubpath();
        p.setPen(QPen(kDark, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(scene_style::kBearMouth);
        p.drawPath(mouth);
    } else if (mood == Mascot::Mood::Thinking) {
        smile(p, QPointF(1.5, 10.5), 8, 1.6);
    } else {
        smile(p, QPointF(-3.2, 9.5), 6.4, 1.8);
        smile(p, QPointF(3.2, 9.5), 6.4, 1.8);
    }
    p.restore();
}

void sparkle(QPainter& p, QPointF at, double size) {
    scene_style::drawStar(p, at, size, scene_style::kSun, scene_style::kSunEdge);
}

void thoughtBubble(QPainter& p, int step) {
    const double bob = 1.5 * swing(step, bear::kThoughtBob);
    p.setPen(QPen(scene_style::kKeyEdge, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(33, -92 + bob * 0.5), 3, 3);
    p.drawEllipse(QPointF(41, -99 + bob * 0.7), 4.5, 4.5);
    const QPointF centre(56, -112 + bob);
    p.drawEllipse(centre, 14, 14);
    QFont font = scene_style::digitFont(20);
    p.setFont(font);
    p.setPen(scene_style::kThoughtMark);
    p.drawText(QRectF(centre.x() - 15, centre.y() - 15, 30, 30), Qt::AlignCenter,
               QStringLiteral("?"));
}

}  // namespace

void Mascot::paint(QPainter& painter, QPointF feet, double height, Mood mood, int step,
                   Layer layer) {
    const bool split = mood == Mood::Thinking;
    if (layer == Layer::Still && !split) {
        return;
    }
    QPainter& p = painter;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(feet);
    p.scale(height / 100, height / 100);
    if (layer == Layer::Moving && split) {
        thoughtBubble(p, step);
        p.restore();
        return;
    }

    // Bounce: a cheer hops, a walk bobs; standing and thinking keep still.
    double lift = 0;
    if (mood == Mood::Cheering) {
        lift = 5 * std::abs(swing(step, bear::kCheer));
    } else if (mood == Mood::Walking) {
        lift = 2.5 * std::abs(swing(step, bear::kStride));
    }

    // Shadow on the ground, smaller while in the air.
    p.setPen(Qt::NoPen);
    p.setBrush(scene_style::kBearShadow);
    p.drawEllipse(QPointF(0, 0), 30 - lift, 5);

    p.translate(0, -lift);

    // Feet: a walk steps them forward and back.
    const double stride = mood == Mood::Walking ? 6 * swing(step, bear::kStride) : 0;
    blob(p, QPointF(-15 + stride, -6), 12, 8, kFur);
    blob(p, QPointF(15 - stride, -6), 12, 8, kFur);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(-15 + stride, -5), 6, 4);
    p.drawEllipse(QPointF(15 - stride, -5), 6, 4);

    const QPointF leftShoulder(-23, -42);
    const QPointF rightShoulder(23, -42);
    constexpr double kArm = 28;
    constexpr double kArmWidth = 14;

    // Arms that hang beside the body are drawn behind it.
    if (mood == Mood::Walking) {
        const double a = 18 * swing(step, bear::kStride);
        limb(p, leftShoulder, limbEnd(leftShoulder, -20 + a, kArm), kArmWidth);
        limb(p, rightShoulder, limbEnd(rightShoulder, 20 - a, kArm), kArmWidth);
    } else if (mood == Mood::Thinking) {
        limb(p, leftShoulder, limbEnd(leftShoulder, -25, kArm), kArmWidth);
    } else if (mood == Mood::Happy) {
        limb(p, leftShoulder, limbEnd(leftShoulder, -22, kArm), kArmWidth);
    }

    // Body and belly.
    blob(p, QPointF(0, -30), 29, 27, kFur);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(0, -24), 17, 15);

    // Raised arms go in front, so the wave reads clearly.
    if (mood == Mood::Happy) {
        const double wave = 128 + 16 * swing(step, bear::kWave);
        limb(p, rightShoulder, limbEnd(rightShoulder, wave, kArm), kArmWidth);
    } else if (mood == Mood::Cheering) {
        const double pump = 8 * swing(step, bear::kCheer);
        limb(p, leftShoulder, limbEnd(leftShoulder, -140 - pump, kArm + 4), kArmWidth);
        limb(p, rightShoulder, limbEnd(rightShoulder, 140 + pump, kArm + 4), kArmWidth);
    }

    const double tilt = mood == Mood::Thinking
                            ? -6
                            : (mood == Mood::Walking ? 2 * swing(step, bear::kWalkTilt) : 0);
    head(p, mood, tilt);
    scarf(p, mood == Mood::Walking ? -2 : 0, step, mood == Mood::Walking || mood == Mood::Cheering);

    if (mood == Mood::Thinking) {
        // The paw on the chin, over the head.
        limb(p, rightShoulder, QPointF(11, -48), kArmWidth);
        if (layer != Layer::Still) {
            thoughtBubble(p, step);
        }
    } else if (mood == Mood::Cheering) {
        // Little stars round the head, twinkling slowly (well under three times a second).
        const double t = swing(step, bear::kSparkles);
        sparkle(p, QPointF(-44, -92), 7 + 1.5 * t);
        sparkle(p, QPointF(48, -96), 8 - 1.5 * t);
        sparkle(p, QPointF(-30, -112), 5 - t);
        sparkle(p, QPointF(30, -114), 5.5 + t);
        p.setPen(Qt::NoPen);
        const QColor bits[] = {scene_style::kSecondary, scene_style::kConfirm,
                               scene_style::kPrimary};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bits[i]);
            p.save();
            p.translate(-52 + i * 52, -108 - 8 * (i % 2) + 2 * t);
            p.rotate(25 + i * 40 + 10 * t);
            p.drawRoundedRect(QRectF(-3.5, -1.8, 7, 3.6), 1.2, 1.2);
            p.restore();
        }
    }
    p.restore();
}

namespace {

// The reach of each mood in the bear's own units (100 tall, feet at the origin), with a
// unit of room all round for antialiased edges: left, top, right, bottom.
struct Extent {
    double left, top, right, bottom;
};
constexpr double kRoom = 2;
Extent reachOf(Mascot::Mood mood) {
    switch (mood) {
        case Mascot::Mood::Happy:
            return {-43, -104, 59, 5};
        case Mascot::Mood::Cheering:
            return {-57, -127, 58, 5};
        case Mascot::Mood::Thinking:
            return {-45, -129, 71, 5};
        case Mascot::Mood::Walking:
            return {-50, -107, 50, 5};
    }
    return {-57, -129, 71, 5};
}
Extent movingOf(Mascot::Mood mood) {
    switch (mood) {
        case Mascot::Mood::Happy:
            return {18, -75, 59, -32};  // the waving arm
        case Mascot::Mood::Thinking:
            return {29, -129, 71, -87};  // the thought bubble
        case Mascot::Mood::Cheering:
        case Mascot::Mood::Walking:
            break;
    }
    return reachOf(mood);
}
QRectF placed(const Extent& e, QPointF feet, double height) {
    const double s = height / 100;
    return QRectF(QPointF(feet.x() + (e.left - kRoom) * s, feet.y() + (e.top - kRoom) * s),
                  QPointF(feet.x() + (e.right + kRoom) * s, feet.y() + (e.bottom + kRoom) * s));
}

}  // namespace

QRectF Mascot::reach(QPointF feet, double height, Mood mood) {
    return placed(reachOf(mood), feet, height);
}

QRectF Mascot::moving(QPointF feet, double height, Mood mood) {
    return placed(movingOf(mood), feet, height);
}

}  // namespace sumbrook
