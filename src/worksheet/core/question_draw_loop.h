#pragma once

#include <QString>
#include <functional>

#include "question_list.h"
#include "worksheet_random.h"

namespace sumbrook {

// The signs of the printed questions: full-width, with the spacing the sheet's font lines up.
inline const QString kPlusSign = QStringLiteral(" ＋ ");
inline const QString kMinusSign = QStringLiteral(" － ");
inline const QString kTimesSign = QStringLiteral(" × ");
inline const QString kDivideSign = QStringLiteral(" ÷ ");
inline const QString kEqualsSign = QStringLiteral(" ＝");

// Draws one candidate question. `accepted` is how many this run already put on the list,
// for subtypes whose form changes part-way through.
using QuestionDraw = std::function<WorksheetQuestion(int accepted)>;

// The loop every subtype runs: Reseed, then draw candidates and offer them to the list until
// `count` of them are on it (a fractional count goes up to the next whole question). A subtype
// asked for more different questions than it can make would draw for ever; after a long run
// of refused draws this throws GenerationError naming `subtype` instead.
void RunQuestionDrawLoop(const QString& subtype, double count, WorksheetRandom& random,
                         QuestionList& list, const QuestionDraw& draw);

// The label of the count field with this tag, as errors name the subtype.
QString subtypeLabel(int tag);

}  // namespace sumbrook
