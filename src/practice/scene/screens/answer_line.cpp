#include "answer_line.h"

#include <QFontMetricsF>
#include <algorithm>

#include "practice/scene/scene_style.h"

namespace sumbrook::answer_line {

namespace style = scene_style;

namespace {

QFont pieceFont(const Piece& piece, double size) {
    return piece.digits ? style::digitFont(size) : style::labelFont(size * 0.9);
}

double boxPadding(double size) {
    return size * 0.5;
}

double minimumBoxWidth(const Piece& piece, double size) {
    return style::textAdvance(style::digitFont(size), QString(piece.boxDigits, u'8')) +
           boxPadding(size);
}

double naturalWidth(const Piece& piece, double size) {
    const double textWidth = style::textAdvance(pieceFont(piece, size), piece.text);
    if (!piece.box) {
        return textWidth;
    }
    return std::max(minimumBoxWidth(piece, size), textWidth + boxPadding(size));
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
            painter.setBrush(style::kEntryFill);
            break;
        case BoxLook::Idle:
            painter.setPen(QPen(style::kKeyEdge.darker(112), 3));
            painter.setBrush(Qt::white);
            break;
        case BoxLook::Solved:
            painter.setPen(QPen(style::kRight, 4));
            painter.setBrush(style::kSolvedFill);
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
        painter.setBrush(style::kCaret);
        painter.drawRoundedRect(QRectF(box.center().x() - w / 2, box.center().y() - h / 2, w, h),
                                w / 2, w / 2);
    }
    painter.restore();
}

}  // namespace

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
QFont entryFont(QString& digits, double width, double size, double smallestShare) {
    QFont font = style::digitFont(size);
    const int smallest = std::max(style::kSmallestText, static_cast<int>(size * smallestShare));
    for (int px = static_cast<int>(size); px > smallest; --px) {
        font.setPixelSize(px);
        if (style::textAdvance(font, digits) <= width) {
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

std::vector<QRectF> placeLine(const Line& line, const QRectF& area, Qt::Alignment alignment) {
    // The line stands where it stands with empty boxes; a box that grows with a long
    // entry takes only the room to its right, so the question never moves while the
    // child types.
    std::vector<double> widths;
    for (const Piece& p : line.pieces) {
        widths.push_back(p.width);
    }
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
            for (std::size_t i = 0; i < line.pieces.size(); ++i) {
                const Piece& p = line.pieces[i];
                widths[i] = p.least + (p.width - p.least) * room / growth;
            }
        }
    }
    const double boxHeight = line.size * 1.45;
    const QRectF row(0, area.center().y() - boxHeight / 2, 0, boxHeight);
    const double gap = line.gap * line.size / 64;
    std::vector<QRectF> placed;
    for (const double width : widths) {
        placed.emplace_back(x, row.top(), width, row.height());
        x += width + gap;
    }
    return placed;
}

void drawLine(QPainter& painter, const Line& line, const QRectF& area, Qt::Alignment alignment,
              bool blinkOn) {
    const std::vector<QRectF> placed = placeLine(line, area, alignment);
    for (std::size_t i = 0; i < line.pieces.size(); ++i) {
        const Piece& p = line.pieces[i];
        const QRectF& slot = placed[i];
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
    }
}

std::optional<QRectF> caretBox(const Line& line, const QRectF& area, Qt::Alignment alignment) {
    const std::vector<QRectF> placed = placeLine(line, area, alignment);
    for (std::size_t i = 0; i < line.pieces.size(); ++i) {
        const Piece& p = line.pieces[i];
        if (p.box && p.caret && p.text.isEmpty()) {
            // The box with its field marker and the marker's pen.
            return placed[i].adjusted(-kBoxReach, -kBoxReach, kBoxReach, kBoxReach);
        }
    }
    return std::nullopt;
}

Piece textPiece(const QString& s, bool digits) {
    Piece p;
    p.text = s;
    p.digits = digits;
    return p;
}

Piece boxPiece(const QString& s, BoxLook look, bool caret, int boxDigits) {
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

}  // namespace sumbrook::answer_line
