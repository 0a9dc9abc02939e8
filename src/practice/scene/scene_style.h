#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace sumbrook::scene_style {

// The scene's palette: a warm picture book, bright but never harsh.
inline const QColor kSkyTop{0x8F, 0xD3, 0xFF};
inline const QColor kSkyBottom{0xE9, 0xF7, 0xFF};
inline const QColor kGrass{0x7B, 0xC9, 0x6F};
inline const QColor kGrassEdge{0x4F, 0xA3, 0x5A};
inline const QColor kSun{0xFF, 0xD5, 0x4A};
inline const QColor kSunEdge{0xF2, 0xA9, 0x00};
inline const QColor kPrimary{0xFF, 0x8A, 0x65};
inline const QColor kPrimaryPressed{0xE0, 0x66, 0x4A};
inline const QColor kSecondary{0x4F, 0xC3, 0xF7};
inline const QColor kSecondaryPressed{0x02, 0x88, 0xD1};
inline const QColor kKey{0xFF, 0xFF, 0xFF};
inline const QColor kKeyEdge{0xB3, 0xE5, 0xFC};
inline const QColor kConfirm{0x66, 0xBB, 0x6A};
inline const QColor kErase{0xFF, 0xB7, 0x4D};
inline const QColor kText{0x26, 0x32, 0x38};
inline const QColor kRight{0x43, 0xA0, 0x47};
inline const QColor kWrong{0xE5, 0x39, 0x35};
inline const QColor kCard{0xFF, 0xFF, 0xFF};
// Soft shadows under cards, buttons and the dial: a deep blue, never black.
inline const QColor kShadow{0x00, 0x28, 0x50};
inline QColor shadow(int alpha) {
    QColor c = kShadow;
    c.setAlpha(alpha);
    return c;
}

enum class ButtonKind { Primary, Secondary, Key, Confirm, Erase, Menu, Quiet };

// Chinese labels and captions: the textbook's 楷体.
QFont labelFont(double size);
// Counters and small print of the header.
QFont counterFont(double size);
// Numbers in questions and on keys.
QFont digitFont(double size);

// A rounded button with its caption; pressed buttons sink and darken.
void drawButton(QPainter& painter, const QRectF& rect, const QString& caption, ButtonKind kind,
                bool pressed);
// A white rounded card with a soft shadow.
void drawCard(QPainter& painter, const QRectF& rect, double radius = 24);
// The font shrunk, pixel by pixel down to kSmallestText, until `text` fits `width`
// with a little room to spare.
constexpr int kSmallestText = 8;
constexpr double kFitRoom = 0.94;
QFont fittedFont(const QString& text, QFont font, double width);
// Text centred in a rectangle, shrunk to fit its width when it is long.
void drawFittedText(QPainter& painter, const QRectF& rect, const QString& text, QFont font,
                    const QColor& colour, int flags = Qt::AlignCenter);
// The sky with its gradient, soft clouds and rolling grass along the bottom.
void drawMeadow(QPainter& painter, double grassTop = 520);
// A five-pointed star centred on `centre`.
void drawStar(QPainter& painter, const QPointF& centre, double outer, const QColor& fill,
              const QColor& edge);

}  // namespace sumbrook::scene_style
