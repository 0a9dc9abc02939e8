#pragma once

#include <QImage>
#include <QPainter>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace sumbrook {

// Cell flags as the template format stores them.
namespace cell_flags {
constexpr std::uint8_t kTitle = 0x08;        // style: the sheet's title
constexpr std::uint8_t kPicture = 0x80;      // style: the cell holds a picture
constexpr std::uint8_t kJoinedRight = 0x10;  // merge: joined with the cell to the right
constexpr std::uint8_t kJoinedLeft = 0x04;   // merge: joined with the cell to the left
}  // namespace cell_flags

// A vector drawing that a picture cell holds. It is painted afresh at the size it is shown
// every time the sheet is painted, so it is sharp at any zoom and costs no bitmap.
class CellDrawing {
  public:
    virtual ~CellDrawing() = default;
    // The drawing's own size; paint() draws within (0, 0)–size() in the painter's units.
    virtual QSizeF size() const = 0;
    virtual void paint(QPainter& painter) const = 0;
    // True when both draw the same picture.
    virtual bool sameAs(const CellDrawing& other) const = 0;
};

// Where an answer key writes a cell's answer: after a one-line question, on the line
// under a vertical form, on the line above it (the quotient over a division bracket), or
// into the blanks (runs of "_") of the cell's text, one "|"-separated value a blank.
enum class AnswerPlace { After, Below, Above, IntoBlanks };

struct SheetCell {
    QString text;                                // may hold CR LF line breaks
    QImage picture;                              // a raster picture, null when none
    std::shared_ptr<const CellDrawing> drawing;  // a vector picture, none when null
    QString answer;  // an answer key's answer, drawn in its own space; empty when none
    AnswerPlace answerPlace = AnswerPlace::After;
    QString fontName;  // empty for none
    int fontSize = 0;  // character height in tenths of a millimetre
    int format = 1;    // alignment code: 1, 2, 4, 5, 6 or 10
    std::uint8_t style = 0;
    std::uint8_t merge = 0;
    std::uint32_t textColour = 0;
    std::uint32_t background = 0xFF000000;  // none
    std::uint16_t reserved = 9;             // kept as stored
};

// Page margins in tenths of a millimetre.
struct SheetMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A printable worksheet: a grid of cells with row heights and column widths in tenths
// of a millimetre, and its page setup. Rows and columns count from 1.
class Sheet {
  public:
    Sheet() = default;
    Sheet(int rows, int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    SheetCell& cell(int row, int column);
    const SheetCell& cell(int row, int column) const;
    int rowHeight(int row) const { return rowHeights_.at(static_cast<std::size_t>(row - 1)); }
    int columnWidth(int column) const {
        return columnWidths_.at(static_cast<std::size_t>(column - 1));
    }
    void setRowHeight(int row, int height) {
        rowHeights_.at(static_cast<std::size_t>(row - 1)) = height;
    }
    void setColumnWidth(int column, int width) {
        columnWidths_.at(static_cast<std::size_t>(column - 1)) = width;
    }
    // The grid's whole width and height.
    int width() const;
    int height() const;

    SheetMargins margins;
    std::uint16_t scale = 100;
    std::uint16_t paper = 9;        // A4
    std::uint16_t orientation = 1;  // portrait

    // A small mark in the page's top corner, such as "第 3 份", that pairs a sheet of a
    // batch with its answer page; empty for none. Not part of the stored template.
    QString copyMark;

  private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> columnWidths_;
    std::vector<SheetCell> cells_;
};

bool operator==(const SheetCell& a, const SheetCell& b);

}  // namespace sumbrook
