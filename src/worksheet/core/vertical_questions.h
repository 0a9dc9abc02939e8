#pragma once

#include "question_list.h"
#include "worksheet_counts.h"
#include "worksheet_random.h"

namespace sumbrook {

// Appends the column-arithmetic questions of the 竖式 page (tags 17 to 20), each a
// multi-line text laid out for a fixed-pitch font, subtype by subtype in tag order.
// Throws GenerationError when a subtype runs out.
void GenerateVerticalQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                               QuestionList& list);

}  // namespace sumbrook
