#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "question_list.h"
#include "sheet.h"
#include "sheet_template.h"

namespace sumbrook {

// Draws a clock face showing hour:minute, as the clock sheet's picture cells take it.
using ClockFaceRenderer = std::function<std::shared_ptr<const CellDrawing>(int hour, int minute)>;

// Where a question stands on its sheet.
struct SheetPlace {
    int row;
    int column;
};

// The template a settings page fills (pages 0 and 1 share the arithmetic one); nothing
// for the pages without a sheet.
std::optional<SheetKind> sheetKindOfPage(int page);

// The cell of the i-th question (1-based) on a page's sheet. On the arithmetic and
// vertical sheets i counts in the shuffled order; on the clock sheet in generation order.
SheetPlace questionPlace(int page, int i);

// Writes the questions into the page's empty template: in the shuffled order two per row
// (arithmetic) or three per row (vertical), or as ten clock faces in generation order.
// Nothing for pages 4 and 5, which leave the sheet as it was.
std::optional<Sheet> FillWorksheet(int page, const QuestionList& list,
                                   const std::vector<int>& order, const ClockFaceRenderer& faces);

// The same sheet titled as the key, every question where it stands on the sheet and its
// answer in a space of its own (beside a written sum, under a vertical form, over a
// division bracket), so that the key can be laid over the sheet.
std::optional<Sheet> FillAnswerKey(int page, const QuestionList& list,
                                   const std::vector<int>& order, const ClockFaceRenderer& faces);

// The clock key's values for the blanks "___时___分" and "____:____", one a blank.
QString clockAnswerValues(int hour, int minute);

// "h,m" split into hour and minute; nothing when the text is not such a time.
std::optional<std::pair<int, int>> parseTimeQuestion(const QString& text);

}  // namespace sumbrook
