#include "question_frame.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>

#include "practice/scene/clock_face.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/stage_layout.h"

namespace sumbrook::question_frame {

namespace layout = stage_layout;
namespace style = scene_style;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool caretOn(const PracticeStage& stage) {
    return (stage.stepCount() / timing::kCaretSteps) % 2 == 0;
}

QString displayed(QString expression) {
    expression.replace(u'-', QChar(0x2212));
    return expression;
}

QFont bold(QFont font) {
    font.setBold(true);
    return font;
}

namespace {

using clock_face::onDial;

void drawHand(QPainter& painter, QPointF centre, double length, double tail, double width,
              double degrees, const QColor& colour) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(onDial(centre, -tail, degrees), onDial(centre, length, degrees));
}

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
    band.setColorAt(0, style::kHeaderTop);
    band.setColorAt(1, style::kHeaderBottom);
    painter.fillRect(layout::kHeader, band);
    painter.setPen(QPen(style::kKeyEdge, 3));
    painter.drawLine(layout::kHeader.bottomLeft(), layout::kHeader.bottomRight());
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
    const QRectF label = layout::kScoreLabel;
    const QFont labelFont = style::counterFont(16);
    const QString caption = text("得分：");
    const QFont valueFont = bold(style::counterFont(18));
    const QString value = QString::number(fenshu);
    const double labelWidth = style::textAdvance(labelFont, caption);
    const double width = labelWidth + style::textAdvance(valueFont, value);
    const double left = label.center().x() - std::min(width, label.width()) / 2;
    style::drawFittedText(painter, QRectF(left, label.top(), labelWidth, label.height()), caption,
                          labelFont, style::kText, Qt::AlignLeft | Qt::AlignVCenter);
    style::drawFittedText(
        painter,
        QRectF(left + labelWidth, label.top(), label.right() - left - labelWidth, label.height()),
        value, valueFont, style::kText, Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace

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
        painter.setPen(QPen(hour ? style::kText : style::kLabelText, hour ? 3.5 : 1.6,
                            Qt::SolidLine, Qt::RoundCap));
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
void drawHeader(QPainter& painter, const PracticeStage& stage, const QRectF& region,
                HeaderPart part) {
    const PracticeLoop& loop = stage.loop();
    const bool still = part != HeaderPart::RunningTime;
    const bool time = part != HeaderPart::StillParts;
    if (still && region.intersects(layout::kScoreBar.adjusted(-44, -36, 44, 4))) {
        drawScore(painter, loop.fenshu());
    }
    if (!region.intersects(layout::kHeader)) {
        return;
    }
    // The level: its label and value in one line, shrunk if a long title needs it.
    const bool roomForExit = loop.exitControlVisible();
    const QRectF level = layout::levelPill(roomForExit).adjusted(12, 0, -12, 0);
    const QFont labelFont = style::counterFont(16);
    if (still && region.intersects(level)) {
        const double labelWidth = style::textAdvance(labelFont, text("等级:")) + 8;
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
            const bool running = c == 2 && row == 0;
            if (!region.intersects(cell)) {
                continue;
            }
            const double width = style::textAdvance(labelFont, text(labels[row])) + 6;
            const QRectF value = cell.adjusted(width, 0, 0, 0);
            if (still && region.intersects(QRectF(cell.left(), cell.top(), width, cell.height()))) {
                style::drawFittedText(painter, cell, text(labels[row]), labelFont,
                                      style::kLabelText, Qt::AlignLeft | Qt::AlignVCenter);
            }
            if ((running ? !time : !still) || !region.intersects(value)) {
                continue;
            }
            const QFont font = bold(style::counterFont(17));
            if (!running) {
                style::drawFittedText(painter, value, values[c][row], font, style::kText,
                                      Qt::AlignRight | Qt::AlignVCenter);
                continue;
            }
            // The running time changes at every step but keeps its shape: its digits are
            // all one width, so the size fitted to "00:00.00" fits every time.
            QString shape = values[c][row];
            for (QChar& ch : shape) {
                if (ch.isDigit()) {
                    ch = u'0';
                }
            }
            painter.save();
            painter.setFont(style::fittedFont(shape, font, value.width()));
            painter.setPen(style::kText);
            painter.drawText(value, Qt::AlignRight | Qt::AlignVCenter, values[c][row]);
            painter.restore();
        }
    }
}

QRectF runningTimeRect(const PracticeLoop& loop) {
    const QRectF cell = layout::headerCell(2, 0, loop.exitControlVisible());
    // The digits' ink keeps clear of the cell's top and bottom by a few pixels: the part
    // repainted, with its margin, stays off the best time's cell just below.
    return cell.adjusted(style::textAdvance(style::counterFont(16), text(kColumnLabels[2][0])) + 6,
                         3, 0, -3);
}

void drawSky(QPainter& painter, const PracticeStage& stage) {
    style::drawMeadow(painter, 500);
    drawHeaderBackdrop(painter, stage.loop().exitControlVisible());
    drawScoreTrack(painter);
}

QString skyStillName(const QString& art, const PracticeStage& stage) {
    return stage.loop().exitControlVisible() ? art + QStringLiteral("/room-for-exit") : art;
}

}  // namespace sumbrook::question_frame
