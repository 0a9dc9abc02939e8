#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "clock_face.h"
#include "mascot.h"
#include "practice/core/music_rules.h"
#include "practice/core/screen.h"
#include "practice_stage.h"
#include "scene_art.h"
#include "scene_motion.h"
#include "scene_style.h"
#include "scene_timing.h"
#include "screen_painters.h"
#include "stage_layout.h"

namespace sumbrook::screen_painters {

namespace {

namespace layout = stage_layout;
namespace style = scene_style;

// Quieter than the question text but still above 4.5 : 1 on white.
const QColor kLabelText{0x4E, 0x63, 0x6E};
const QColor kEntryFill{0xFF, 0xFD, 0xF2};
const QColor kSolvedFill{0xF1, 0xF8, 0xE9};
const QColor kSoftBlue{0xE1, 0xF5, 0xFE};
const QColor kCaret{0x02, 0x88, 0xD1};
const QColor kDim{0x26, 0x32, 0x38};

// The card the question sits on, and where its picture and answer line go when the
// question is a picture (money, clock).
const QRectF kCard = layout::kQuestionArea;
const QRectF kPictureArea{40, 104, 320, 224};
const QRectF kMoneyAnswerArea{380, 104, 288, 224};
const QPointF kDialCentre{176, 216};
constexpr double kDialRadius = 112;
const QRectF kClockAnswerArea{316, 104, 352, 224};

// The praise and comfort words, one per clip.
const char* const kPraise[] = {"真棒！", "答对了！", "太棒了！"};
const char* const kComfort[] = {"再想想！", "加油！", "没关系！"};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A slow blink: on for a third of a second, off for a third (1.5 blinks a second).
bool caretOn(const PracticeStage& stage) {
    return (stage.stepCount() / timing::kCaretSteps) % 2 == 0;
}

// The minus of the generators is ASCII; the typographic sign is what a textbook prints.
QString displayed(QString expression) {
    expression.replace(u'-', QChar(0x2212));
    return expression;
}

QFont bold(QFont font) {
    font.setBold(true);
    return font;
}

// ----- the answer line: numbers, signs, units and answer boxes in one row

// Entry: the box being typed into; Idle: the clock field not being typed into; Solved:
// the answer on a right-answer screen.
enum class BoxLook { Entry, Idle, Solved };

// One item of an answer line: a number, sign or unit, or an answer box. Holds no
// position; the line's layout gives it a width and drawLine places it.
struct Piece {
    QString text;
    bool box = false;
    bool digits = true;  // digits and signs in the digit font, units in the 楷体
    BoxLook look = BoxLook::Entry;
    bool caret = false;
    bool marked = false;  // the clock's field marker xian_s
    int boxDigits = 3;    // how many digits the empty box makes room for
    double width = 0;     // set by the layout
    double least = 0;     // the width with an empty box, set by the layout
};

// The items of one row and the digit size they share once laid out.
struct Line {
    std::vector<Piece> pieces;
    double size = 64;  // digit size after the layout
    double gap = 18;
};

QFont pieceFont(const Piece& piece, double size) {
    return piece.digits ? style::digitFont(size) : style::labelFont(size * 0.9);
}

double boxPadding(double size) {
    return size * 0.5;
}

double minimumBoxWidth(const Piece& piece, double size) {
    return QFontMetricsF(style::digitFont(size)).horizontalAdvance(QString(piece.boxDigits, u'8')) +
           boxPadding(size);
}

double naturalWidth(const Piece& piece, double size) {
    const double textWidth = QFontMetricsF(pieceFont(piece, size)).horizontalAdvance(piece.text);
    if (!piece.box) {
        return textWidth;
    }
    return std::max(minimumBoxWidth(piece, size), textWidth + boxPadding(size));
}

// Picks the largest digit size (down to minSize) at which the line fits `available` with
// empty boxes, so the question keeps its size while the child types; a long entry widens
// its box only into the room that is left, and its text shrinks inside.
void layOut(Line& line, double available, double minSize) {
    const double gaps = static_cast<double>(line.pieces.size() - 1) * line.gap / 64;
    auto widthAt = [&](double size, bool withEntries) {
        double total = gaps * size;
        for (Piece& p : line.pieces) {
            p.width = p.box && !withEntries ? minimumBoxWidth(p, size) : naturalWidth(p, size);
            total += p.width;
        }
        return total;
    };
    while (line.size > minSize && widthAt(line.size, false) > available) {
        line.size = std::max(minSize, line.size - 2);
    }
    widthAt(line.size, false);
    for (Piece& p : line.pieces) {
        p.least = p.width;
    }
    const double total = widthAt(line.size, true);
    double extra = 0;
    for (const Piece& p : line.pieces) {
        if (p.box) {
            extra += p.width - minimumBoxWidth(p, line.size);
        }
    }
    const double excess = std::min(total - available, extra);
    if (excess <= 0) {
        return;
    }
    for (Piece& p : line.pieces) {
        if (p.box) {
            p.width -= excess * (p.width - minimumBoxWidth(p, line.size)) / extra;
        }
    }
}

double lineWidth(const Line& line) {
    double total = line.gap * line.size / 64 * (line.pieces.size() - 1);
    for (const Piece& p : line.pieces) {
        total += p.width;
    }
    return total;
}

// A long entry stays on one line: its digits shrink down to a third of the line's size,
// and past that only its last digits show, behind an ellipsis.
QFont entryFont(QString& digits, double width, double size, double smallestShare = 1.0 / 3) {
    QFont font = style::digitFont(size);
    const int smallest = std::max(style::kSmallestText, static_cast<int>(size * smallestShare));
    for (int px = static_cast<int>(size); px > smallest; --px) {
        font.setPixelSize(px);
        if (QFontMetricsF(font).horizontalAdvance(digits) <= width) {
            return font;
        }
    }
    font.setPixelSize(smallest);
    const QFontMetricsF metrics(font);
    while (metrics.horizontalAdvance(digits) > width && digits.size() > 2) {
        digits = QChar(0x2026) + digits.mid(2);
    }
    return font;
}

void drawBoxText(QPainter& painter, const QRectF& inner, QString digits, double size) {
    painter.setFont(entryFont(digits, inner.width(), size));
    painter.setPen(style::kText);
    painter.drawText(inner, Qt::AlignCenter, digits);
}

void drawAnswerBox(QPainter& painter, const QRectF& box, const Piece& piece, double size,
                   bool blinkOn) {
    const double radius = std::min(18.0, box.height() / 4);
    painter.save();
    if (piece.marked) {
        painter.setPen(QPen(style::kPrimary, 5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(-9, -9, 9, 9), radius + 8, radius + 8);
    }
    switch (piece.look) {
        case BoxLook::Entry:
            painter.setPen(QPen(style::kSunEdge, 4));
            painter.setBrush(kEntryFill);
            break;
        case BoxLook::Idle:
            painter.setPen(QPen(style::kKeyEdge.darker(112), 3));
            painter.setBrush(Qt::white);
            break;
        case BoxLook::Solved:
            painter.setPen(QPen(style::kRight, 4));
            painter.setBrush(kSolvedFill);
            break;
    }
    painter.drawRoundedRect(box, radius, radius);
    if (!piece.text.isEmpty()) {
        drawBoxText(painter, box.adjusted(boxPadding(size) / 2, 0, -boxPadding(size) / 2, 0),
                    piece.text, size);
    } else if (piece.caret && blinkOn) {
        const double h = box.height() * 0.55;
        const double w = std::max(4.0, size / 14);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kCaret);
        painter.drawRoundedRect(QRectF(box.center().x() - w / 2, box.center().y() - h / 2, w, h),
                                w / 2, w / 2);
    }
    painter.restore();
}

// Draws the laid-out line in `area`, centred vertically, placed by `alignment`.
void drawLine(QPainter& painter, const Line& line, const QRectF& area, Qt::Alignment alignment,
              bool blinkOn) {
    // The line stands where it stands with empty boxes; a box that grows with a long
    // entry takes only the room to its right, so the question never moves while the
    // child types.
    Line placed = line;
    double least = line.gap * line.size / 64 * (line.pieces.size() - 1);
    for (const Piece& p : line.pieces) {
        least += p.least;
    }
    double x = area.left();
    if (alignment & Qt::AlignRight) {
        x = area.right() - lineWidth(line);
    } else if (alignment & Qt::AlignHCenter) {
        x = std::max(area.left(), area.center().x() - least / 2);
        const double growth = lineWidth(line) - least;
        const double room = std::max(0.0, area.right() - x - least);
        if (growth > room) {
            for (Piece& p : placed.pieces) {
                p.width = p.least + (p.width - p.least) * room / growth;
            }
        }
    }
    const double boxHeight = line.size * 1.45;
    const QRectF row(0, area.center().y() - boxHeight / 2, 0, boxHeight);
    const double gap = line.gap * line.size / 64;
    for (const Piece& p : placed.pieces) {
        const QRectF slot(x, row.top(), p.width, row.height());
        if (p.box) {
            drawAnswerBox(painter, slot, p, line.size, blinkOn);
        } else {
            painter.save();
            painter.setFont(pieceFont(p, line.size));
            painter.setPen(style::kText);
            // A little room either side keeps glyph overhangs from being clipped.
            painter.drawText(slot.adjusted(-8, 0, 8, 0), Qt::AlignCenter, p.text);
            painter.restore();
        }
        x += p.width + gap;
    }
}

Piece textPiece(const QString& s, bool digits = true) {
    Piece p;
    p.text = s;
    p.digits = digits;
    return p;
}

Piece boxPiece(const QString& s, BoxLook look, bool caret, int boxDigits = 3) {
    Piece p;
    p.text = s;
    p.box = true;
    p.look = look;
    p.caret = caret && s.isEmpty();
    p.boxDigits = boxDigits;
    return p;
}

// "3点15分" as runs: digits in the digit font, the units in the 楷体.
std::vector<Piece> mixedRuns(const QString& s) {
    std::vector<Piece> runs;
    for (const QChar c : s) {
        const bool digit = c.isDigit();
        if (runs.empty() || runs.back().digits != digit) {
            runs.push_back(textPiece(QString(), digit));
        }
        runs.back().text += c;
    }
    return runs;
}

// ----- the clock face szhong

using clock_face::onDial;

void drawDial(QPainter& painter, QPointF centre, double radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::shadow(30));
    painter.drawEllipse(centre + QPointF(0, 5), radius, radius);
    // The thick rim, then the white dial inside it.
    painter.setBrush(style::kSecondary);
    painter.setPen(QPen(style::kSecondaryPressed, 3));
    painter.drawEllipse(centre, radius, radius);
    const double dial = radius - clock_face::kRimWidth;
    painter.setBrush(Qt::white);
    painter.setPen(QPen(style::kSecondaryPressed.lighter(130), 2));
    painter.drawEllipse(centre, dial, dial);
    // Minute ticks; the hour ones longer and thicker.
    for (int m = 0; m < 60; ++m) {
        const bool hour = m % 5 == 0;
        painter.setPen(
            QPen(hour ? style::kText : kLabelText, hour ? 3.5 : 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(onDial(centre, dial - 3, m * 6),
                         onDial(centre, dial - (hour ? 12 : 7), m * 6));
    }
    painter.setFont(clock_face::numeralFont(radius));
    painter.setPen(style::kText);
    for (int h = 1; h <= 12; ++h) {
        const QPointF at = clock_face::numeralCentre(centre, radius, h);
        painter.drawText(QRectF(at.x() - 24, at.y() - 18, 48, 36), Qt::AlignCenter,
                         QString::number(h));
    }
    painter.restore();
}

void drawHand(QPainter& painter, QPointF centre, double length, double tail, double width,
              double degrees, const QColor& colour) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(onDial(centre, -tail, degrees), onDial(centre, length, degrees));
}

void drawHands(QPainter& painter, QPointF centre, double radius, const ClockQuestion& q) {
    painter.save();
    // Hour hand short, thick and dark blue; minute hand long, thin and coral.
    drawHand(painter, centre, radius * clock_face::kHourHand, radius * 0.08,
             radius * clock_face::kHourHandWidth, q.hourAngle,
             style::kSecondaryPressed.darker(125));
    drawHand(painter, centre, radius * clock_face::kMinuteHand, radius * 0.12,
             radius * clock_face::kMinuteHandWidth, q.minuteAngle, style::kPrimaryPressed);
    painter.setPen(QPen(style::kSunEdge, 2));
    painter.setBrush(style::kSun);
    painter.drawEllipse(centre, radius * 0.08, radius * 0.08);
    painter.restore();
}

// ----- the header, the score bar and the backdrop they sit on

// The labels of the two rows of each of the header's three columns.
const char* const kColumnLabels[3][2] = {
    {"本次题目:", "正确:"}, {"已做题目:", "共正确:"}, {"用时:", "最好："}};

void drawPill(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& edge) {
    painter.save();
    painter.setPen(QPen(edge, 2));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, 14, 14);
    painter.restore();
}

void drawHeaderBackdrop(QPainter& painter, bool roomForExit) {
    painter.save();
    QLinearGradient band(0, 0, 0, layout::kHeader.bottom());
    band.setColorAt(0, QColor(255, 255, 255, 235));
    band.setColorAt(1, QColor(255, 255, 255, 200));
    painter.fillRect(layout::kHeader, band);
    painter.setPen(QPen(style::kKeyEdge, 3));
    painter.drawLine(QPointF(0, layout::kHeader.bottom()), QPointF(800, layout::kHeader.bottom()));
    painter.restore();
    drawPill(painter, layout::levelPill(roomForExit), style::kSun, style::kSunEdge);
    for (int c = 0; c < 3; ++c) {
        drawPill(painter, layout::headerColumn(c, roomForExit), Qt::white, style::kKeyEdge);
    }
}

void drawScoreTrack(QPainter& painter) {
    const QRectF bar = layout::kScoreBar;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::shadow(28));
    painter.drawRoundedRect(bar.translated(0, 4), bar.width() / 2, bar.width() / 2);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.drawRoundedRect(bar, bar.width() / 2, bar.width() / 2);
    painter.restore();
}

void drawScore(QPainter& painter, int fenshu) {
    const QRectF bar = layout::kScoreBar;
    const double share = std::clamp(fenshu, 0, 100) / 100.0;
    if (share > 0) {
        QPainterPath track;
        track.addRoundedRect(bar.adjusted(3, 3, -3, -3), bar.width() / 2 - 3, bar.width() / 2 - 3);
        const double inner = bar.height() - 6;
        QPainterPath filled;
        filled.addRect(
            QRectF(bar.left(), bar.bottom() - 3 - inner * share, bar.width(), inner * share));
        QLinearGradient sun(bar.left(), 0, bar.right(), 0);
        sun.setColorAt(0, style::kSun.lighter(108));
        sun.setColorAt(1, style::kSun.darker(104));
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(sun);
        painter.drawPath(track.intersected(filled));
        painter.restore();
    }
    // "得分：" and its value in one line above the bar, clear of the keypad below it.
    const QRectF label(bar.center().x() - 44, 80, 88, 28);
    const QFont labelFont = style::counterFont(16);
    const QString caption = text("得分：");
    const QFont valueFont = bold(style::counterFont(18));
    const QString value = QString::number(fenshu);
    const double labelWidth = QFontMetricsF(labelFont).horizontalAdvance(caption);
    const double width = labelWidth + QFontMetricsF(valueFont).horizontalAdvance(value);
    const double left = label.center().x() - std::min(width, label.width()) / 2;
    style::drawFittedText(painter, QRectF(left, label.top(), labelWidth, label.height()), caption,
                          labelFont, style::kText, Qt::AlignLeft | Qt::AlignVCenter);
    style::drawFittedText(
        painter,
        QRectF(left + labelWidth, label.top(), label.right() - left - labelWidth, label.height()),
        value, valueFont, style::kText, Qt::AlignLeft | Qt::AlignVCenter);
}

void drawHeader(QPainter& painter, const PracticeStage& stage, const QRectF& region) {
    const PracticeLoop& loop = stage.loop();
    if (region.intersects(layout::kScoreBar.adjusted(-44, -36, 44, 4))) {
        drawScore(painter, loop.fenshu());
    }
    if (!region.intersects(layout::kHeader)) {
        return;
    }
    // The level: its label and value in one line, shrunk if a long title needs it.
    const bool roomForExit = loop.exitControlVisible();
    const QRectF level = layout::levelPill(roomForExit).adjusted(12, 0, -12, 0);
    const QFont labelFont = style::counterFont(16);
    if (region.intersects(level)) {
        const double labelWidth = QFontMetricsF(labelFont).horizontalAdvance(text("等级:")) + 8;
        style::drawFittedText(
            painter, QRectF(level.left(), level.top(), labelWidth, level.height()), text("等级:"),
            labelFont, style::kText, Qt::AlignLeft | Qt::AlignVCenter);
        style::drawFittedText(painter, level.adjusted(labelWidth, 0, 0, 0), loop.levelText(),
                              bold(style::counterFont(18)), style::kText,
                              Qt::AlignLeft | Qt::AlignVCenter);
    }

    const QString values[3][2] = {
        {QString::number(loop.tishu()), QString::number(loop.tishudui())},
        {QString::number(loop.tishuLs()), QString::number(loop.tishuduiLs())},
        {loop.runningTimeText(), loop.bestTimeText()}};
    for (int c = 0; c < 3; ++c) {
        const char* const* labels = kColumnLabels[c];
        for (int row = 0; row < 2; ++row) {
            const QRectF cell = layout::headerCell(c, row, roomForExit);
            if (!region.intersects(cell)) {
                continue;
            }
            const double width = QFontMetricsF(labelFont).horizontalAdvance(text(labels[row])) + 6;
            style::drawFittedText(painter, cell, text(labels[row]), labelFont, kLabelText,
                                  Qt::AlignLeft | Qt::AlignVCenter);
            style::drawFittedText(painter, cell.adjusted(width, 0, 0, 0), values[c][row],
                                  bold(style::counterFont(17)), style::kText,
                                  Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

void drawSky(QPainter& painter, const PracticeStage& stage) {
    style::drawMeadow(painter, 500);
    drawHeaderBackdrop(painter, stage.loop().exitControlVisible());
    drawScoreTrack(painter);
}

// ----- what each question shows in its card

// The question line with the child's entry (or, solved, the answer) in its box.
Line twoNumberLine(const TwoNumberQuestion& q, const QString& entry, BoxLook look, bool caret,
                   double size = 64) {
    Line line;
    line.size = size;
    auto operand = [&](BlankPosition at, const QString& shown) {
        return q.blank == at ? boxPiece(entry, look, caret) : textPiece(shown);
    };
    line.pieces = {operand(BlankPosition::Left, q.xian1), textPiece(displayed(q.xian_fu)),
                   operand(BlankPosition::Right, q.xian2), textPiece(QStringLiteral("=")),
                   operand(BlankPosition::Result, q.xian4)};
    layOut(line, kCard.width() - 64, size * 0.7);
    return line;
}

Line expressionLine(const ExpressionQuestion& q, const QString& entry, BoxLook look, bool caret,
                    double size = 60) {
    Line line;
    line.size = size;
    line.pieces = {textPiece(displayed(q.xian1)), textPiece(QStringLiteral("=")),
                   boxPiece(entry, look, caret)};
    layOut(line, kCard.width() - 64, size * 0.6);
    return line;
}

Line moneyLine(const MoneyQuestion& q, const QString& entry, BoxLook look, bool caret) {
    Line line;
    line.size = 64;
    line.gap = 14;
    line.pieces = {boxPiece(entry, look, caret), textPiece(q.danw, false)};
    layOut(line, kMoneyAnswerArea.width(), 40);
    return line;
}

Line clockLine(const QString& hour, const QString& minute, int activeField, bool solved,
               bool caret) {
    Line line;
    line.size = 54;
    line.gap = 20;
    const bool onHour = activeField == PracticeLoop::kHourField;
    auto field = [&](const QString& entry, bool active) {
        Piece p =
            boxPiece(entry, solved ? BoxLook::Solved : (active ? BoxLook::Entry : BoxLook::Idle),
                     caret && active, 2);
        p.marked = active && !solved;
        return p;
    };
    line.pieces = {field(hour, onHour), textPiece(text("点"), false), field(minute, !onHour),
                   textPiece(text("分"), false)};
    // Room for the field marker on both sides.
    layOut(line, kClockAnswerArea.width() - 20, 34);
    return line;
}

// The card's content for the question screens (entry) and the right-answer screens (solved).
void drawQuestionContent(QPainter& painter, const PracticeStage& stage, bool solved) {
    const PracticeLoop& loop = stage.loop();
    if (!loop.question()) {
        return;
    }
    const Question& question = *loop.question();
    const bool blink = caretOn(stage);
    const BoxLook look = solved ? BoxLook::Solved : BoxLook::Entry;
    const QString entry = solved ? QString::number(expectedAnswer(question)) : loop.answerText();
    const bool caret = !solved;
    const QRectF inside = kCard.adjusted(32, 0, -32, 0);
    if (const auto* sum = std::get_if<TwoNumberQuestion>(&question)) {
        drawLine(painter, twoNumberLine(*sum, entry, look, caret), inside, Qt::AlignHCenter, blink);
    } else if (const auto* expression = std::get_if<ExpressionQuestion>(&question)) {
        drawLine(painter, expressionLine(*expression, entry, look, caret), inside, Qt::AlignRight,
                 blink);
    } else if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        SceneArt::paintMoney(painter, kPictureArea, money->picture);
        drawLine(painter, moneyLine(*money, entry, look, caret), kMoneyAnswerArea, Qt::AlignHCenter,
                 blink);
    } else if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
        drawHands(painter, kDialCentre, kDialRadius, *clock);
        const QString hour = solved ? QString::number(clock->deshu) : loop.answerText();
        const QString minute = solved ? QString::number(clock->deshu0) : loop.minuteText();
        drawLine(painter, clockLine(hour, minute, loop.activeField(), solved, caret),
                 kClockAnswerArea, Qt::AlignHCenter, blink);
    }
}

// ----- the answer screens' pieces

const QPointF kMascotFeet{640, 586};
constexpr double kMascotHeight = 200;
const QRectF kBubble{356, 400, 192, 72};

void drawBubble(QPainter& painter, const QString& words, const QColor& edge) {
    QPainterPath bubble;
    bubble.addRoundedRect(kBubble, 28, 28);
    QPainterPath tail;
    tail.moveTo(kBubble.right() - 12, kBubble.top() + 22);
    tail.lineTo(kBubble.right() + 34, kBubble.top() + 30);
    tail.lineTo(kBubble.right() - 12, kBubble.top() + 48);
    tail.closeSubpath();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::shadow(28));
    painter.drawPath((bubble.united(tail)).translated(0, 4));
    painter.setPen(QPen(edge, 3));
    painter.setBrush(Qt::white);
    painter.drawPath(bubble.united(tail));
    painter.restore();
    style::drawFittedText(painter, kBubble.adjusted(12, 0, -12, 0), words, style::labelFont(28),
                          style::kText);
}

void drawCheckBadge(QPainter& painter, QPointF centre) {
    painter.save();
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(style::kRight);
    painter.drawEllipse(centre, 24, 24);
    QPainterPath tick;
    tick.moveTo(centre + QPointF(-11, 0));
    tick.lineTo(centre + QPointF(-3, 9));
    tick.lineTo(centre + QPointF(12, -9));
    painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    painter.restore();
}

// Stars that twinkle around the cheering bear: each grows and shrinks gently on its own beat.
void drawPraiseStars(QPainter& painter, int step) {
    struct Spot {
        QPointF at;
        double size;
        int phase;
    };
    const Spot spots[] = {{{552, 372}, 18, 0}, {{768, 392}, 14, 3}, {{604, 524}, 12, 6},
                          {{776, 520}, 16, 9}, {{470, 512}, 15, 4}, {{60, 112}, 14, 7},
                          {{412, 560}, 11, 10}};
    for (const Spot& s : spots) {
        const double beat =
            0.85 + 0.15 * std::sin((step + s.phase) * 2 * M_PI / timing::kTwinkleSteps);
        style::drawStar(painter, s.at, s.size * beat, style::kSun, style::kSunEdge);
    }
}

// What the child typed, as the answer would be written: the clock's two fields with their
// units, the money value with its unit; empty when nothing was typed.
QString typedAnswer(const Question& question, const QString& entry, const QString& minute) {
    if (std::holds_alternative<ClockQuestion>(question)) {
        if (entry.isEmpty() && minute.isEmpty()) {
            return {};
        }
        return (entry.isEmpty() ? QStringLiteral("?") : entry) + text("点") +
               (minute.isEmpty() ? QStringLiteral("?") : minute) + text("分");
    }
    if (entry.isEmpty()) {
        return {};
    }
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        return entry + money->danw;
    }
    return entry;
}

constexpr double kCrossedOutSmallest = 0.55;

// The child's answer, quiet and gently crossed out, ending at `right`; a long one shows
// its last digits. Returns its left edge.
double drawCrossedOut(QPainter& painter, QString typed, double right, double centreY,
                      double maxWidth, double size) {
    const QFont font = entryFont(typed, maxWidth, size, kCrossedOutSmallest);
    const double width = QFontMetricsF(font).horizontalAdvance(typed);
    const QRectF at(right - width, centreY - size * 0.8, width, size * 1.6);
    painter.save();
    painter.setFont(font);
    painter.setPen(kLabelText);
    painter.drawText(at.adjusted(-4, 0, 4, 0), Qt::AlignCenter, typed);
    QColor stroke = style::kWrong;
    stroke.setAlphaF(0.55);
    painter.setPen(
        QPen(stroke, std::max(2.0, font.pixelSize() / 12.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(at.left() - 4, centreY + font.pixelSize() * 0.12),
                     QPointF(at.right() + 4, centreY - font.pixelSize() * 0.12));
    painter.restore();
    return at.left();
}

void drawCorrectAnswer(QPainter& painter, const Question& question, const QString& typed) {
    const bool picture = std::holds_alternative<MoneyQuestion>(question) ||
                         std::holds_alternative<ClockQuestion>(question);
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        SceneArt::paintMoney(painter, kPictureArea, money->picture);
    } else if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
        drawHands(painter, kDialCentre, kDialRadius, *clock);
    }
    const QRectF area = !picture ? kCard.adjusted(32, 4, -32, -16)
                        : std::holds_alternative<MoneyQuestion>(question) ? kMoneyAnswerArea
                                                                          : kClockAnswerArea;
    const bool typedUnder = picture && !typed.isEmpty();
    const QRectF label(area.left(), area.top() + (picture && !typedUnder ? 24 : 4), area.width(),
                       44);
    style::drawFittedText(painter, label, text("正确的答案是:"), style::labelFont(28),
                          style::kText);
    Line answer;
    answer.size = picture ? 72 : 64;
    answer.gap = 4;
    answer.pieces = mixedRuns(correctAnswerText(question));
    // The child's answer, when there is one, stands crossed out before the right one (under
    // it beside a picture, where the row is narrow); the right one keeps its own room.
    const double typedSize = picture ? 30 : 40;
    const bool beside = !typed.isEmpty() && !picture;
    const double typedRoom = beside ? std::min(area.width() * 0.42, 260.0) : area.width() - 48;
    layOut(answer, area.width() - 48 - (beside ? typedRoom : 0), 32);
    // A soft blue pill draws the eye to the answer without any alarm.
    const QRectF row(area.left(), label.bottom() + 12, area.width(), answer.size * 1.6);
    const double width = lineWidth(answer);
    double typedWidth = 0;
    if (beside) {
        QString shown = typed;
        typedWidth =
            QFontMetricsF(entryFont(shown, typedRoom - 24, typedSize)).horizontalAdvance(shown) +
            24;
    }
    const double pillLeft = row.center().x() - (width + 48 - typedWidth) / 2;
    const QRectF answerRow(pillLeft, row.top(), width + 48, row.height());
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSoftBlue);
    painter.drawRoundedRect(answerRow, 20, 20);
    painter.restore();
    if (beside) {
        drawCrossedOut(painter, typed, pillLeft - 20, row.center().y(), typedRoom - 24, typedSize);
    } else if (!typed.isEmpty()) {
        QString shown = typed;
        const double under =
            QFontMetricsF(entryFont(shown, typedRoom, typedSize)).horizontalAdvance(shown);
        drawCrossedOut(painter, typed, row.center().x() + under / 2, row.bottom() + typedSize * 0.9,
                       typedRoom, typedSize);
    }
    drawLine(painter, answer, answerRow, Qt::AlignHCenter, false);
    // Under a written sum, the sum itself with the answer in its place, to read once more.
    const QRectF recap(area.left(), row.bottom() + 4, area.width(),
                       kCard.bottom() - row.bottom() - 8);
    const QString answerText = correctAnswerText(question);
    if (const auto* sum = std::get_if<TwoNumberQuestion>(&question)) {
        drawLine(painter, twoNumberLine(*sum, answerText, BoxLook::Idle, false, 34), recap,
                 Qt::AlignHCenter, false);
    } else if (const auto* expression = std::get_if<ExpressionQuestion>(&question)) {
        drawLine(painter, expressionLine(*expression, answerText, BoxLook::Idle, false, 34), recap,
                 Qt::AlignHCenter, false);
    }
}

// ----- the settings panel

void drawNote(QPainter& painter, QPointF at, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at + QPointF(6, 6), at + QPointF(6, -14));
    painter.drawLine(at + QPointF(6, -14), at + QPointF(16, -10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(at + QPointF(1, 6), 6, 5);
    painter.restore();
}

void drawSpeaker(QPainter& painter, QPointF at, const QColor& colour) {
    QPolygonF body;
    body << at + QPointF(0, -5) << at + QPointF(7, -5) << at + QPointF(15, -12)
         << at + QPointF(15, 12) << at + QPointF(7, 5) << at + QPointF(0, 5);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(body);
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(at.x() + 10, at.y() - 8, 14, 16), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(at.x() + 10, at.y() - 14, 22, 28), -50 * 16, 100 * 16);
    painter.restore();
}

// The choice that is playing now: the picked song while one repeats, otherwise random play.
int playingChoice(const MusicRules& music) {
    const auto& choices = MusicRules::choices();
    const int song = music.repeatingPickedSong() ? music.currentSong().left(1).toInt() : 0;
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        if (choices[static_cast<std::size_t>(i)].song == song) {
            return i;
        }
    }
    return -1;
}

void drawPanelButtons(QPainter& painter) {
    using Kind = style::ButtonKind;
    const auto& choices = MusicRules::choices();
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        style::drawButton(painter, layout::songChoice(i),
                          QString::fromUtf8(choices[static_cast<std::size_t>(i)].caption),
                          Kind::Quiet, false);
    }
    style::drawButton(painter, layout::kVolumeUp, QStringLiteral("+"), Kind::Secondary, false);
    style::drawButton(painter, layout::kVolumeDown, QStringLiteral("-"), Kind::Secondary, false);
    style::drawButton(painter, layout::kClearHistory, text("清除历史纪录"), Kind::Primary, false);
    style::drawButton(painter, layout::kPanelBack, text("返回"), Kind::Secondary, false);
}

}  // namespace

void paintQuestionBackdrop(QPainter& painter, const PracticeStage& stage) {
    drawSky(painter, stage);
    style::drawCard(painter, kCard);
    // The keypad's tray.
    painter.save();
    const QRectF first = layout::keypadKey(0);
    const QRectF last = layout::keypadKey(11);
    const QRectF tray = first.united(last).adjusted(-12, -12, 12, 10);
    painter.setPen(QPen(QColor(255, 255, 255, 230), 2));
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawRoundedRect(tray, 22, 22);
    painter.restore();
    // The bear keeps the child company beside the keypad.
    Mascot::paint(painter, QPointF(420, 516), 144, Mascot::Mood::Happy, 0);
    if (stage.loop().screen() == Screen::Shijian) {
        drawDial(painter, kDialCentre, kDialRadius);
    }
}

void paintQuestion(QPainter& painter, const PracticeStage& stage, const QRectF& region) {
    drawHeader(painter, stage, region);
    if (region.intersects(kCard)) {
        drawQuestionContent(painter, stage, false);
    }
}

void paintAnswerBackdrop(QPainter& painter, const PracticeStage& stage) {
    drawSky(painter, stage);
    style::drawCard(painter, kCard);
    const Screen screen = stage.loop().screen();
    if (screen == Screen::Dui4 || screen == Screen::Chuo4) {
        drawDial(painter, kDialCentre, kDialRadius);
    }
}

void paintAnswer(QPainter& painter, const PracticeStage& stage, const QRectF& region) {
    const PracticeLoop& loop = stage.loop();
    const Screen screen = loop.screen();
    const bool right = screen == Screen::Dui || screen == Screen::Dui2 || screen == Screen::Dui3 ||
                       screen == Screen::Dui4;
    const int clip = std::clamp(loop.answerClip(), 0, 2);
    drawHeader(painter, stage, region);
    if (right) {
        drawPraiseStars(painter, stage.stepCount());
        drawQuestionContent(painter, stage, true);
        drawCheckBadge(painter, QPointF(kCard.right() - 14, kCard.top() + 14));
        Mascot::paint(painter, kMascotFeet, kMascotHeight, Mascot::Mood::Cheering,
                      stage.stepsOnScreen());
        drawBubble(painter, text(kPraise[clip]), style::kSunEdge);
    } else {
        if (loop.question()) {
            drawCorrectAnswer(painter, *loop.question(),
                              typedAnswer(*loop.question(), loop.answerText(), loop.minuteText()));
        }
        Mascot::paint(painter, kMascotFeet, kMascotHeight, Mascot::Mood::Thinking,
                      stage.stepsOnScreen());
        drawBubble(painter, text(kComfort[clip]), style::kKeyEdge.darker(115));
    }
}

void paintSettingsPanel(QPainter& painter, const PracticeStage& stage, PanelPart part) {
    const PracticeLoop& loop = stage.loop();
    const bool shown = loop.settingsPanel() == SettingsPanel::Shown;
    const bool card = part != PanelPart::Values;
    const bool values = part != PanelPart::Card;
    const double arrived = shown ? 1.0
                                 : motion::easeOutCubic(static_cast<double>(loop.panelSlideStep()) /
                                                        PracticeLoop::kPanelSlideSteps);
    // The main menu stays in view behind, softly dimmed.
    const double drop = -(1 - arrived) * (layout::kPanel.bottom() + 16);
    const QRectF panel = layout::kPanel;
    const QRectF songs = layout::songChoice(0).united(layout::songChoice(9));
    painter.save();
    if (card) {
        QColor dim = kDim;
        dim.setAlphaF(0.32 * arrived);
        painter.fillRect(QRectF(0, 0, layout::kWidth, layout::kHeight), dim);
        painter.translate(0, drop);
        style::drawCard(painter, panel, 28);
        painter.setPen(QPen(style::kSunEdge, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(panel, 28, 28);
        // The title ribbon along the top.
        QPainterPath ribbon;
        ribbon.addRoundedRect(panel.adjusted(1.5, 1.5, -1.5, 0), 27, 27);
        QPainterPath top;
        top.addRect(QRectF(panel.left(), panel.top(), panel.width(), 60));
        painter.setPen(Qt::NoPen);
        painter.setBrush(style::kSun);
        painter.drawPath(ribbon.intersected(top));
        painter.setPen(QPen(style::kSunEdge, 2));
        painter.drawLine(QPointF(panel.left() + 2, panel.top() + 60),
                         QPointF(panel.right() - 2, panel.top() + 60));
        style::drawFittedText(painter, QRectF(panel.left(), panel.top(), panel.width(), 60),
                              text("设置"), style::labelFont(28), style::kText);

        // The music section and the volume row, each on a soft band.
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSoftBlue);
        painter.drawRoundedRect(songs.adjusted(-12, -44, 12, 12), 20, 20);
        drawNote(painter, QPointF(songs.left() + 6, songs.top() - 20), style::kSecondaryPressed);
        style::drawFittedText(painter, QRectF(songs.left() + 30, songs.top() - 42, 240, 38),
                              text("背景音乐"), style::labelFont(26), style::kText,
                              Qt::AlignLeft | Qt::AlignVCenter);

        const QRectF volumeRow(songs.left() - 12, layout::kVolumeUp.top() - 6, songs.width() + 24,
                               layout::kVolumeUp.height() + 12);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSoftBlue);
        painter.drawRoundedRect(volumeRow, 20, 20);
        drawSpeaker(painter, QPointF(songs.left() + 8, volumeRow.center().y()),
                    style::kSecondaryPressed);
        style::drawFittedText(
            painter,
            QRectF(songs.left() + 48, layout::kVolumeUp.top(),
                   layout::kVolumeUp.left() - songs.left() - 60, layout::kVolumeUp.height()),
            text("音量"), style::labelFont(26), style::kText, Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        painter.translate(0, drop);
    }

    if (shown && values) {
        const QRectF value = layout::kVolumeValue;
        painter.setPen(QPen(style::kKeyEdge.darker(110), 2));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(value, 14, 14);
        style::drawFittedText(painter, value, QString::number(loop.music().yinliang()),
                              style::digitFont(24), style::kText);
        // A golden ring around the choice that is playing.
        const int playing = playingChoice(loop.music());
        if (playing >= 0) {
            const QRectF at = layout::songChoice(playing).adjusted(-5, -5, 5, 5);
            painter.setPen(QPen(style::kSunEdge, 4));
            painter.setBrush(style::kSun);
            painter.drawRoundedRect(at, 20, 20);
        }
        // With a box in front the stage leaves the panel's buttons out; they stay in the
        // picture behind the box so the panel does not look emptied.
        if (loop.confirmBox() != ConfirmBox::None) {
            drawPanelButtons(painter);
        }
    }
    painter.restore();
}

void paintConfirmBox(QPainter& painter, const PracticeStage& stage) {
    QColor dim = kDim;
    dim.setAlphaF(0.4);
    painter.fillRect(QRectF(0, 0, layout::kWidth, layout::kHeight), dim);
    const QRectF box = layout::kBox;
    style::drawCard(painter, box, 24);
    painter.save();
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box, 24, 24);
    // A sun badge on the top edge: a question, or a warning when a record is at stake.
    const bool restart = stage.loop().confirmBox() == ConfirmBox::RestartGame;
    const QPointF badge(box.center().x(), box.top());
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.setBrush(style::kSun);
    painter.drawEllipse(badge, 30, 30);
    painter.restore();
    style::drawFittedText(painter, QRectF(badge.x() - 30, badge.y() - 30, 60, 60),
                          restart ? QStringLiteral("!") : QStringLiteral("?"), style::digitFont(36),
                          style::kText);

    const double textTop = box.top() + 40;
    const double textBottom = layout::kBoxOk.top() - 12;
    if (restart) {
        const double middle = (textTop + textBottom) / 2;
        style::drawFittedText(painter, QRectF(box.left() + 24, middle - 48, box.width() - 48, 44),
                              text("将清除游戏记录！"), style::labelFont(28), style::kText);
        style::drawFittedText(painter, QRectF(box.left() + 24, middle + 4, box.width() - 48, 44),
                              text("您确定吗？"), style::labelFont(28), style::kText);
    } else {
        style::drawFittedText(
            painter, QRectF(box.left() + 24, textTop, box.width() - 48, textBottom - textTop),
            text("清除数据吗？"), style::labelFont(28), style::kText);
    }
}

}  // namespace sumbrook::screen_painters
