#include "sheet.h"

#include <numeric>
#include <stdexcept>
#include <string>
#include <utility>

namespace sumbrook {

Sheet::Sheet(int rows, int columns) : rows_(rows), columns_(columns) {
    if (rows < 0 || columns < 0) {
        throw std::invalid_argument("a sheet cannot have " + std::to_string(rows) + " rows and " +
                                    std::to_string(columns) + " columns");
    }
    rowHeights_.assign(static_cast<std::size_t>(rows), 0);
    columnWidths_.assign(static_cast<std::size_t>(columns), 0);
    cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
}

SheetCell& Sheet::cell(int row, int column) {
    return const_cast<SheetCell&>(std::as_const(*this).cell(row, column));
}

const SheetCell& Sheet::cell(int row, int column) const {
    if (row < 1 || row > rows_ || column < 1 || column > columns_) {
        throw std::out_of_range("cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                ") is outside the sheet of " + std::to_string(rows_) + " × " +
                                std::to_string(columns_) + " cells");
    }
    return cells_[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column - 1)];
}

int Sheet::width() const {
    return std::accumulate(columnWidths_.begin(), columnWidths_.end(), 0);
}

int Sheet::height() const {
    return std::accumulate(rowHeights_.begin(), rowHeights_.end(), 0);
}

bool operator==(const SheetCell& a, const SheetCell& b) {
    const bool sameDrawing =
        a.drawing == b.drawing || (a.drawing && b.drawing && a.drawing->sameAs(*b.drawing));
    return a.text == b.text && a.picture == b.picture && sameDrawing && a.answer == b.answer &&
           a.answerPlace == b.answerPlace && a.fontName == b.fontName && a.fontSize == b.fontSize &&
           a.format == b.format && a.style == b.style && a.merge == b.merge &&
           a.textColour == b.textColour && a.background == b.background && a.reserved == b.reserved;
}

}  // namespace sumbrook
