#include "sheet_painter.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>

#include "sheet_fonts.h"

namespace sumbrook {

namespace {

constexpr double kPadding = 15;  // between a cell's edge and its text, 1.5 mm
constexpr int kDefaultFontSize = 40;

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

// Text measured and drawn either proportionally or on the fixed-pitch grid. Spaces are
// half an em wide, as in the fonts the templates were made for, so that the blanks of
// the header lines keep their room; on the grid the rule of a vertical form is drawn as
// one unbroken line.
class TextBlock {
  public:
    TextBlock(const QString& text, const QFont& font, bool grid)
        : lines_(linesOf(text)), metrics_(font), grid_(grid) {
        halfEm_ = font.pixelSize() / 2.0;
        cell_ = grid ? metrics_.horizontalAdvance(u'0') : halfEm_;
    }

    double advance(QChar c) const {
        if (grid_) {
            return SheetPainter::columnsOf(c) * cell_;
        }
        return c == u' ' ? halfEm_ : metrics_.horizontalAdvance(c);
    }
    double lineWidth(const QString& line) const {
        if (!grid_) {
            double w = 0;
            for (const QString& run : runsOf(line)) {
                w += run.startsWith(u' ') ? run.size() * halfEm_ : metrics_.horizontalAdvance(run);
            }
            return w;
        }
        double w = 0;
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
    double lineHeight() const { return metrics_.lineSpacing(); }
    double height() const { return lines_.size() * lineHeight(); }

    void draw(QPainter& painter, QPointF topLeft) const {
        double y = topLeft.y() + metrics_.ascent();
        for (const QString& line : lines_) {
            double x = topLeft.x();
            if (!grid_) {
                for (const QString& run : runsOf(line)) {
                    if (run.startsWith(u' ')) {
                        x += run.size() * halfEm_;
                    } else {
                        painter.drawText(QPointF(x, y), run);
                        x += metrics_.horizontalAdvance(run);
                    }
                }
            } else {
                for (const QChar c : line) {
                    const double slot = advance(c);
                    if (isRule(c)) {
                        drawRule(painter, x, x + slot, y - metrics_.xHeight() / 2);
                    } else if (c == u'_') {
                        // The top of the division bracket: one line over the dividend.
                        drawRule(painter, x, x + slot, y + metrics_.descent() / 2);
                    } else {
                        const double glyph = metrics_.horizontalAdvance(c);
                        painter.drawText(QPointF(x + (slot - glyph) / 2, y), QString(c));
                    }
                    x += slot;
                }
            }
            y += lineHeight();
        }
    }

  private:
    // A line split into runs of spaces and runs of everything else.
    static QStringList runsOf(const QString& line) {
        QStringList runs;
        for (const QChar c : line) {
            if (runs.isEmpty() || (c == u' ') != runs.last().startsWith(u' ')) {
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
    QFontMetricsF metrics_;
    bool grid_;
    double halfEm_ = 0;
    double cell_ = 0;
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
}

void paintPicture(QPainter& painter, const QImage& picture, const QRectF& rect) {
    const QRectF inner = rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    QSizeF size = picture.deviceIndependentSize();
    size.scale(inner.size(), Qt::KeepAspectRatio);
    const QRectF target(inner.center().x() - size.width() / 2,
                        inner.center().y() - size.height() / 2, size.width(), size.height());
    painter.drawImage(target, picture);
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
            if (!cell.text.isEmpty()) {
                paintText(painter, cell, rect);
            }
        }
    }
    painter.restore();
}

void SheetPainter::paintPages(QPainter& painter, QPagedPaintDevice& device,
                              const std::vector<Sheet>& pages) {
    const double unitsToDevice = device.logicalDpiX() / 254.0;  // device pixels per 0.1 mm
    bool first = true;
    for (const Sheet& sheet : pages) {
        if (!first) {
            device.newPage();
        }
        first = false;
        painter.save();
        painter.scale(unitsToDevice, unitsToDevice);
        paintPage(painter, sheet);
        painter.restore();
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
