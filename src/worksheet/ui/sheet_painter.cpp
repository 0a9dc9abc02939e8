#include "sheet_painter.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QStringList>
#include <algorithm>

#include "sheet_fonts.h"

namespace sumbrook {

namespace {

constexpr double kPadding = 15;  // between a cell's edge and its text, 1.5 mm
constexpr int kDefaultFontSize = 40;
constexpr int kCopyMarkSize = 32;  // 3.2 mm

enum class Across { Left, Indented, Centre, Right };
constexpr double kIndent = 100;  // the questions' indent in their cells, 10 mm
enum class Down { Top, Centre };

struct Alignment {
    Across across;
    Down down;
};

// The template's format codes, read as alignments: titles, headers and vertical forms
// centred; written sums at an indent so their first numbers stand in a column; the clock
// sheet's answer blanks from the top left; the date line to the right.
Alignment alignmentOf(int format) {
    switch (format) {
        case 1:
            return {Across::Left, Down::Top};
        case 4:
            return {Across::Indented, Down::Centre};
        case 6:
            return {Across::Right, Down::Centre};
        default:  // 2, 5 and the picture cells' 10
            return {Across::Centre, Down::Centre};
    }
}

QColor colourOf(std::uint32_t colorref) {
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}

bool coveredByLeftNeighbour(const SheetCell& cell) {
    return (cell.merge & cell_flags::kJoinedLeft) != 0;
}

QStringList linesOf(const QString& text) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return normalised.split(u'\n');
}

bool isRule(QChar c) {
    return c == u'\u2500' || c == u'\u2014';
}

// The two signs that the Ming stand-in draws as small Latin glyphs; on the sheets they
// stand as large as the full-width ＋, － and ＝ beside them.
bool isNarrowSign(QChar c) {
    return c == u'\u00D7' || c == u'\u00F7';
}

// The line of a division bracket's top: nothing but spaces and underscores.
bool isBracketTop(const QString& line) {
    return line.contains(u'_') &&
           std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'_'; });
}

const QColor kAnswerColour(0xC0, 0x10, 0x10);

// Text measured and drawn either proportionally or on the fixed-pitch grid. Spaces are
// half an em wide, as in the fonts the templates were made for, so that the blanks of
// the header lines keep their room; on the grid the rule of a vertical form is drawn as
// one unbroken line, and the lines stand in slots of a fixed height, one slot more than
// the form needs, so that an answer key has its own line for the answer and the form
// stands where it stands on the sheet.
class TextBlock {
  public:
    TextBlock(const QString& text, const QFont& font, bool grid)
        : lines_(linesOf(text)), font_(font), metrics_(font), grid_(grid) {
        halfEm_ = font.pixelSize() / 2.0;
        cell_ = grid ? metrics_.horizontalAdvance(u'0') : halfEm_;
        const QChar plus(0xFF0B);
        plusAdvance_ = metrics_.horizontalAdvance(plus);
        plusInk_ = metrics_.boundingRect(plus);
        if (grid_ && lines_.size() > 1) {
            // A division keeps the slot over its bracket for the quotient; every form
            // keeps one under it, so that a division's dividend stands level with the
            // rule of the sums beside it.
            leadingSlots_ = isBracketTop(lines_.first()) ? 1 : 0;
            slots_ = leadingSlots_ + static_cast<int>(lines_.size()) + 1;
        } else {
            slots_ = lines_.size();
        }
    }

    double advance(QChar c) const {
        if (grid_) {
            return SheetPainter::columnsOf(c) * cell_;
        }
        if (isNarrowSign(c)) {
            return plusAdvance_;
        }
        return c == u' ' ? halfEm_ : metrics_.horizontalAdvance(c);
    }
    double lineWidth(const QString& line) const {
        double w = 0;
        if (!grid_) {
            for (const QString& run : runsOf(line)) {
                w += runWidth(run);
            }
            return w;
        }
        for (const QChar c : line) {
            w += advance(c);
        }
        return w;
    }
    double width() const {
        double w = 0;
        for (const QString& line : lines_) {
            w = std::max(w, lineWidth(line));
        }
        return w;
    }
    double lineHeight() const { return grid_ ? font_.pixelSize() * 1.25 : metrics_.lineSpacing(); }
    double height() const { return slots_ * lineHeight(); }
    // The baseline of a slot, measured from the block's top.
    double baseline(int slot) const {
        const double first = grid_ ? (lineHeight() + metrics_.capHeight()) / 2 : metrics_.ascent();
        return first + slot * lineHeight();
    }

    void draw(QPainter& painter, QPointF topLeft) const {
        int slot = leadingSlots_;
        for (const QString& line : lines_) {
            drawLine(painter, line, topLeft, slot++);
        }
    }

    // An answer beside (one line) or in the free slot under or over the form (grid).
    void drawAnswer(QPainter& painter, QPointF topLeft, const QString& answer,
                    AnswerPlace place) const {
        if (place == AnswerPlace::IntoBlanks) {
            drawIntoBlanks(painter, topLeft, answer.split(u'|'));
            return;
        }
        if (!grid_ || lines_.size() < 2) {
            const double x = topLeft.x() + lineWidth(lines_.last()) + halfEm_;
            drawLine(painter, answer, QPointF(x, topLeft.y()), 0);
            return;
        }
        const int slot = place == AnswerPlace::Above ? 0 : leadingSlots_ + lines_.size();
        drawLine(painter, answer, topLeft, slot);
    }

  private:
    // Each value centred over its run of underscores, in reading order.
    void drawIntoBlanks(QPainter& painter, QPointF topLeft, const QStringList& values) const {
        qsizetype next = 0;
        for (qsizetype slot = 0; slot < lines_.size(); ++slot) {
            const QString& line = lines_[slot];
            double x = topLeft.x();
            double blankStart = 0;
            for (qsizetype i = 0; i < line.size(); ++i) {
                const QChar c = line[i];
                const bool startsBlank = c == u'_' && (i == 0 || line[i - 1] != u'_');
                if (startsBlank) {
                    blankStart = x;
                }
                x += grid_ ? advance(c) : (c == u' ' ? halfEm_ : metrics_.horizontalAdvance(c));
                const bool endsBlank = c == u'_' && (i + 1 == line.size() || line[i + 1] != u'_');
                if (endsBlank && next < values.size()) {
                    const QString& value = values[next++];
                    const double w = metrics_.horizontalAdvance(value);
                    painter.drawText(QPointF((blankStart + x - w) / 2,
                                             topLeft.y() + baseline(static_cast<int>(slot))),
                                     value);
                }
            }
        }
    }

    void drawLine(QPainter& painter, const QString& line, QPointF topLeft, int slot) const {
        const double y = topLeft.y() + baseline(slot);
        double x = topLeft.x();
        if (!grid_) {
            for (const QString& run : runsOf(line)) {
                if (isNarrowSign(run.front())) {
                    drawSign(painter, run.front(), x, plusAdvance_, y);
                } else if (!run.startsWith(u' ')) {
                    painter.drawText(QPointF(x, y), run);
                }
                x += runWidth(run);
            }
            return;
        }
        for (const QChar c : line) {
            const double slotWidth = advance(c);
            if (isRule(c)) {
                drawRule(painter, x, x + slotWidth, topLeft.y() + (slot + 0.5) * lineHeight());
            } else if (c == u'_') {
                // The top of the division bracket: one line over the dividend.
                drawRule(painter, x, x + slotWidth, y + metrics_.descent() / 2);
            } else if (isNarrowSign(c)) {
                drawSign(painter, c, x, slotWidth, y);
            } else {
                const double glyph = metrics_.horizontalAdvance(c);
                painter.drawText(QPointF(x + (slotWidth - glyph) / 2, y), QString(c));
            }
            x += slotWidth;
        }
    }
    // × or ÷ grown to the ink height of ＋ and centred where ＋ would stand; still text,
    // so that a PDF's text can be copied and searched.
    void drawSign(QPainter& painter, QChar c, double x, double slotWidth, double y) const {
        const QRectF ink = metrics_.boundingRect(c);
        const double grow = ink.height() > 0 && plusInk_.height() > ink.height()
                                ? plusInk_.height() / ink.height()
                                : 1.0;
        painter.save();
        painter.translate(x + slotWidth / 2, y + plusInk_.center().y());
        painter.scale(grow, grow);
        painter.drawText(-ink.center(), QString(c));
        painter.restore();
    }
    double runWidth(const QString& run) const {
        if (run.startsWith(u' ')) {
            return run.size() * halfEm_;
        }
        if (isNarrowSign(run.front())) {
            return plusAdvance_;
        }
        return metrics_.horizontalAdvance(run);
    }
    // A line split into runs of spaces, single narrow signs and runs of everything else.
    static QStringList runsOf(const QString& line) {
        QStringList runs;
        for (const QChar c : line) {
            if (runs.isEmpty() || isNarrowSign(c) || isNarrowSign(runs.last().front()) ||
                (c == u' ') != runs.last().startsWith(u' ')) {
                runs.append(QString());
            }
            runs.last() += c;
        }
        return runs;
    }
    void drawRule(QPainter& painter, double from, double to, double at) const {
        QPen pen = painter.pen();
        pen.setWidthF(std::max(1.0, metrics_.height() / 18));
        pen.setCapStyle(Qt::FlatCap);
        painter.save();
        painter.setPen(pen);
        painter.drawLine(QPointF(from, at), QPointF(to, at));
        painter.restore();
    }

    QStringList lines_;
    QFont font_;
    QFontMetricsF metrics_;
    bool grid_;
    double halfEm_ = 0;
    double cell_ = 0;
    double plusAdvance_ = 0;
    QRectF plusInk_;
    int slots_ = 1;
    int leadingSlots_ = 0;
};

void paintText(QPainter& painter, const SheetCell& cell, const QRectF& rect) {
    const int size = cell.fontSize > 0 ? cell.fontSize : kDefaultFontSize;
    QFont font = SheetFonts::cellFont(cell.fontName, size);
    if (cell.style & cell_flags::kTitle) {
        font.setBold(true);
    }
    const bool grid = SheetFonts::isFixedPitch(cell.fontName);
    const TextBlock block(cell.text, font, grid);
    const Alignment align = alignmentOf(cell.format);
    const QRectF inner = rect.adjusted(kPadding, kPadding / 3, -kPadding, -kPadding / 3);

    double x = inner.left();
    if (align.across == Across::Indented) {
        x = std::min(rect.left() + kIndent, inner.right() - block.width());
    } else if (align.across == Across::Centre) {
        x = inner.center().x() - block.width() / 2;
    } else if (align.across == Across::Right) {
        x = inner.right() - block.width();
    }
    double y = inner.top();
    if (align.down == Down::Centre) {
        y = inner.center().y() - block.height() / 2;
    }
    painter.setFont(font);
    painter.setPen(colourOf(cell.textColour));
    block.draw(painter, QPointF(x, y));
    if (!cell.answer.isEmpty()) {
        painter.setPen(kAnswerColour);
        block.drawAnswer(painter, QPointF(x, y), cell.answer, cell.answerPlace);
    }
}

QRectF fitted(const QSizeF& natural, const QRectF& rect) {
    const QRectF inner = rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    QSizeF size = natural;
    size.scale(inner.size(), Qt::KeepAspectRatio);
    return QRectF(inner.center().x() - size.width() / 2, inner.center().y() - size.height() / 2,
                  size.width(), size.height());
}

void paintPicture(QPainter& painter, const QImage& picture, const QRectF& rect) {
    painter.drawImage(fitted(picture.deviceIndependentSize(), rect), picture);
}

void paintDrawing(QPainter& painter, const CellDrawing& drawing, const QRectF& rect) {
    const QSizeF natural = drawing.size();
    if (natural.isEmpty()) {
        return;
    }
    const QRectF target = fitted(natural, rect);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / natural.width(), target.height() / natural.height());
    painter.setClipRect(QRectF(QPointF(0, 0), natural), Qt::IntersectClip);
    drawing.paint(painter);
    painter.restore();
}

// The copy's number in the grid's top-right corner, beside the centred title.
void paintCopyMark(QPainter& painter, const Sheet& sheet) {
    const QRectF grid = SheetPainter::gridRect(sheet);
    const QFont font = SheetFonts::cellFont(QStringLiteral("宋体"), kCopyMarkSize);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double width = metrics.horizontalAdvance(sheet.copyMark);
    painter.drawText(
        QPointF(grid.right() - kPadding - width, grid.top() + kPadding / 3 + metrics.ascent()),
        sheet.copyMark);
}

}  // namespace

int SheetPainter::columnsOf(QChar c) {
    const char16_t u = c.unicode();
    const bool wide = u == 0x00D7 || u == 0x00F7 || u == 0x2014 || (u >= 0x2500 && u <= 0x257F) ||
                      (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF60);
    return wide ? 2 : 1;
}

QRectF SheetPainter::gridRect(const Sheet& sheet) {
    const SheetMargins& m = sheet.margins;
    const double printable = kPageWidth - m.left - m.right;
    const double left = m.left + std::max(0.0, (printable - sheet.width()) / 2);
    return QRectF(left, m.top, sheet.width(), sheet.height());
}

QRectF SheetPainter::cellRect(const Sheet& sheet, int row, int column) {
    const QRectF grid = gridRect(sheet);
    double x = grid.left();
    for (int c = 1; c < column; ++c) {
        x += sheet.columnWidth(c);
    }
    double y = grid.top();
    for (int r = 1; r < row; ++r) {
        y += sheet.rowHeight(r);
    }
    double width = sheet.columnWidth(column);
    for (int c = column;
         c < sheet.columns() && (sheet.cell(row, c).merge & cell_flags::kJoinedRight) &&
         coveredByLeftNeighbour(sheet.cell(row, c + 1));
         ++c) {
        width += sheet.columnWidth(c + 1);
    }
    return QRectF(x, y, width, sheet.rowHeight(row));
}

void SheetPainter::paintPage(QPainter& painter, const Sheet& sheet) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    for (int row = 1; row <= sheet.rows(); ++row) {
        for (int column = 1; column <= sheet.columns(); ++column) {
            const SheetCell& cell = sheet.cell(row, column);
            if (coveredByLeftNeighbour(cell) && column > 1) {
                continue;
            }
            const QRectF rect = cellRect(sheet, row, column);
            if (cell.background != 0xFF000000) {
                painter.fillRect(rect, colourOf(cell.background));
            }
            if (!cell.picture.isNull()) {
                paintPicture(painter, cell.picture, rect);
            }
            if (cell.drawing) {
                paintDrawing(painter, *cell.drawing, rect);
            }
            if (!cell.text.isEmpty()) {
                paintText(painter, cell, rect);
            }
        }
    }
    if (!sheet.copyMark.isEmpty()) {
        paintCopyMark(painter, sheet);
    }
    painter.restore();
}

QPageLayout SheetPainter::pageLayoutOf(const Sheet& sheet) {
    const SheetMargins& m = sheet.margins;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(m.left / 10.0, m.top / 10.0, m.right / 10.0, m.bottom / 10.0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

QTransform SheetPainter::placement(const Sheet& sheet, const QPageLayout& paper) {
    const QRectF full = paper.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = paper.margins(QPageLayout::Millimeter);
    QRectF box(margins.left() * 10, margins.top() * 10,
               (full.width() - margins.left() - margins.right()) * 10,
               (full.height() - margins.top() - margins.bottom()) * 10);
    if (box.width() <= 0 || box.height() <= 0) {
        box = QRectF(0, 0, full.width() * 10, full.height() * 10);
    }
    const QRectF grid = gridRect(sheet);
    double scale = 1;
    if (grid.width() > 0 && grid.height() > 0) {
        scale = std::min({1.0, box.width() / grid.width(), box.height() / grid.height()});
    }
    const double left = box.left() + std::max(0.0, (box.width() - grid.width() * scale) / 2);
    QTransform t;
    t.translate(left, box.top());
    t.scale(scale, scale);
    t.translate(-grid.left(), -grid.top());
    return t;
}

void SheetPainter::paintOnPaper(QPainter& painter, const Sheet& sheet, const QPageLayout& paper,
                                double dotsPerInch) {
    const double unitsToDevice = dotsPerInch / 254.0;  // device pixels per 0.1 mm
    painter.save();
    painter.scale(unitsToDevice, unitsToDevice);
    painter.setTransform(placement(sheet, paper), true);
    paintPage(painter, sheet);
    painter.restore();
}

void SheetPainter::paintPages(QPainter& painter, QPagedPaintDevice& device,
                              const std::vector<Sheet>& pages) {
    bool first = true;
    for (const Sheet& sheet : pages) {
        if (!first) {
            device.newPage();
        }
        first = false;
        paintOnPaper(painter, sheet, device.pageLayout(), device.logicalDpiX());
    }
}

void SheetPainter::paintPageInto(QPainter& painter, const Sheet& sheet, const QRectF& target) {
    const double scale = std::min(target.width() / kPageWidth, target.height() / kPageHeight);
    painter.save();
    painter.translate(target.center().x() - kPageWidth * scale / 2,
                      target.center().y() - kPageHeight * scale / 2);
    painter.scale(scale, scale);
    paintPage(painter, sheet);
    painter.restore();
}

}  // namespace sumbrook
