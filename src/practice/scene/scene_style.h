#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <array>

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
// Small print beside the counters and a crossed-out answer: quieter than kText but
// still above 4.5 : 1 on white.
inline const QColor kLabelText{0x4E, 0x63, 0x6E};
// Answer boxes: the one being typed into, and the answer shown solved.
inline const QColor kEntryFill{0xFF, 0xFD, 0xF2};
inline const QColor kSolvedFill{0xF1, 0xF8, 0xE9};
inline const QColor kCaret{0x02, 0x88, 0xD1};
// The soft bands behind the right answer and the panel's sections.
inline const QColor kSoftBand{0xE1, 0xF5, 0xFE};
// What dims the screen behind the settings panel and a confirmation box.
inline const QColor kDim{0x26, 0x32, 0x38};
// Deep, friendly colours that keep white text (and white halos) above 4.5 : 1: the
// letters of the title and the number discs of the menu pages.
inline const std::array<QColor, 6> kBadges{QColor(0xBF, 0x36, 0x0C), QColor(0x15, 0x65, 0xC0),
                                           QColor(0x2E, 0x7D, 0x32), QColor(0xAD, 0x14, 0x57),
                                           QColor(0x6A, 0x1B, 0x9A), QColor(0x00, 0x83, 0x8F)};
inline const QColor kTitleShadow{0x0D, 0x47, 0x7A, 50};
// A new best time on the completion card.
inline const QColor kRecordText{0x2E, 0x7D, 0x32};
// A menu entry while it is held down.
inline const QColor kEntryPressed{0xFF, 0xE0, 0x8A};
// Ribbons, banners and the game map's flag.
inline const QColor kRibbon{0xBF, 0x36, 0x0C};
inline const QColor kRibbonFold{0x8C, 0x27, 0x09};
inline const QColor kRibbonStitch{255, 255, 255, 110};
// Scenery: the sun's rays, trees, flowers, clouds, the map's hills and its sandy path.
inline const QColor kSunRays{0xFF, 0xD5, 0x4A, 170};
inline const QColor kTrunk{0xB0, 0x7A, 0x4A};
inline const QColor kTrunkEdge{0x8D, 0x5B, 0x34};
inline const QColor kLeaves{0x66, 0xBB, 0x6A};
inline const QColor kLeafShine{255, 255, 255, 45};
inline const QColor kPetalPink{0xFF, 0x8A, 0x80};
inline const QColor kPetalViolet{0xBA, 0x68, 0xC8};
inline const QColor kCloud{255, 255, 255, 200};
inline const QColor kMapCloud{255, 255, 255, 210};
inline const QColor kHillFar{0xB9, 0xE6, 0xA8};
inline const QColor kHillMiddle{0xA2, 0xDB, 0x93};
inline const QColor kHillNear{0x8F, 0xD2, 0x80};
inline const QColor kPathEdge{0xD9, 0xA5, 0x5B};
inline const QColor kPathFill{0xFB, 0xE6, 0xB8};
inline const QColor kPathDash{0xE8, 0xC4, 0x86};
inline const QColor kStopShadow{0, 40, 20, 40};
// Glass over the sky: the header band (top and bottom), the keypad's tray and its rim,
// the version pill of the intro.
inline const QColor kHeaderTop{255, 255, 255, 235};
inline const QColor kHeaderBottom{255, 255, 255, 200};
inline const QColor kTray{255, 255, 255, 120};
inline const QColor kTrayEdge{255, 255, 255, 230};
inline const QColor kPill{255, 255, 255, 230};
// The bands round a stage that does not fill its window, while there is no scenery yet to
// continue across them: the sky's own light, so that a band never shows as a dark border.
inline const QColor kLetterbox = kSkyBottom;
// The menu entries' and the quiet buttons' faces, up and held down; the shine along the
// top of every button, up and held down.
inline const QColor kMenuButton{0xFF, 0xFF, 0xFF, 235};
inline const QColor kMenuButtonPressed{0xFF, 0xF3, 0xC4};
inline const QColor kQuietButton{0xFF, 0xFF, 0xFF, 210};
inline const QColor kQuietButtonPressed{0xE3, 0xF2, 0xFD};
inline const QColor kButtonShine{255, 255, 255, 55};
inline const QColor kButtonShinePressed{255, 255, 255, 20};
// The bear: fur and its outline, the cream muzzle and paws, the inner ears, eyes and
// nose, rosy cheeks, the laughing mouth, the scarf's stripe, the "?" of its thought and
// its shadow on the grass. The scarf is the primary colour.
inline const QColor kBearFur{0xD9, 0xA0, 0x66};
inline const QColor kBearFurEdge{0x8D, 0x5B, 0x34};
inline const QColor kBearCream{0xF8, 0xE1, 0xBE};
inline const QColor kBearInnerEar{0xF4, 0xB8, 0x9A};
inline const QColor kBearDark{0x4E, 0x34, 0x2E};
inline const QColor kBearCheek{0xFF, 0x8A, 0x80, 140};
inline const QColor kBearMouth{0xE5, 0x73, 0x73};
inline const QColor kScarfStripe{0xFF, 0xF3, 0xC4};
inline const QColor kThoughtMark{0x01, 0x57, 0x9B};
inline const QColor kBearShadow{0x26, 0x32, 0x38, 40};
// Soft shadows under cards, buttons and the dial: a deep blue, never black.
inline const QColor kShadow{0x00, 0x28, 0x50};
inline QColor shadow(int alpha) {
    QColor c = kShadow;
    c.setAlpha(alpha);
    return c;
}

// Bright: sunny yellow with dark text, for the one button a child should not miss.
enum class ButtonKind { Primary, Secondary, Key, Confirm, Erase, Menu, Quiet, Bright };

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
// How far `text` advances in `font`, as QFontMetricsF gives it; remembered, since the
// scene measures the same few captions at every repaint.
double textAdvance(const QFont& font, const QString& text);
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
