#pragma once

#include "question_list.h"
#include "worksheet_counts.h"
#include "worksheet_random.h"

namespace sumbrook {

// Appends the times of the 钟面 page as "hour,minute" texts, in the order of the page's rows
// (tags 21, 22, 23, 25, 24), for the clock faces the sheet draws. Throws GenerationError
// when a subtype runs out.
void GenerateTimeQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                           QuestionList& list);

}  // namespace sumbrook
