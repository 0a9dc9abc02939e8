#pragma once

#include "question_list.h"
#include "worksheet_counts.h"
#include "worksheet_random.h"

namespace sumbrook {

// Appends the questions of the 加减 page (tags 1 to 10), subtype by subtype in tag order, as
// many of each as `counts` asks for. Throws GenerationError when a subtype runs out.
void GenerateAddSubQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                             QuestionList& list);

}  // namespace sumbrook
