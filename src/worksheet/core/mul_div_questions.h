#pragma once

#include "question_list.h"
#include "worksheet_counts.h"
#include "worksheet_random.h"

namespace sumbrook {

// Appends the questions of the 乘除 page (tags 11 to 16), built on the table up to 9 × 9,
// subtype by subtype in tag order. Throws GenerationError when a subtype runs out.
void GenerateMulDivQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                             QuestionList& list);

}  // namespace sumbrook
