#pragma once

#include <QString>
#include <optional>
#include <variant>
#include <vector>

#include "fill_worksheet.h"
#include "question_list.h"
#include "sheet.h"
#include "worksheet_counts.h"
#include "worksheet_random.h"

namespace sumbrook {

// One generated sheet: its questions, the order they stand in, the filled sheet and its
// answer key. Pages without a sheet (4 and 5) generate nothing and carry no sheet.
struct GeneratedWorksheet {
    QuestionList questions;
    std::vector<int> order;
    std::optional<Sheet> sheet;
    std::optional<Sheet> answers;
};

// A refused generation: the message the window shows.
struct ValidationMessage {
    QString text;
};

// Validates the page, generates its questions, shuffles them and fills the sheet, in that
// order. Throws GenerationError when a subtype cannot make enough different questions.
std::variant<GeneratedWorksheet, ValidationMessage> GenerateWorksheet(
    int page, const WorksheetCounts& counts, WorksheetRandom& random,
    const ClockFaceRenderer& faces);

}  // namespace sumbrook
