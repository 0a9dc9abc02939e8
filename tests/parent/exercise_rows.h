#pragma once

#include <QTableWidget>

namespace sumbrook::testing {

// The row of the parent's exercise table that shows `exercise` (its first cell begins
// with the number), wherever sorting put it; -1 when none does.
inline int exerciseRow(const QTableWidget* table, int exercise) {
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* first = table->item(row, 0);
        bool isNumber = false;
        if (first && first->text().section(u' ', 0, 0).toInt(&isNumber) == exercise && isNumber) {
            return row;
        }
    }
    return -1;
}

}  // namespace sumbrook::testing
